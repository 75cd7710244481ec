// The table of bytes 0x80-0x9F, the only part of code page 1252 that differs
// from Latin-1; 0 marks the bytes the code page leaves undefined.
#include "Cp1252.h"

#include <cstdint>
#include <cstdio>

namespace {

const std::uint16_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,       // 88-8F
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,  // 98-9F
};

std::uint32_t CodeOfByte(unsigned char byte) {
  if (byte < 0x80 || byte >= 0xA0) return byte;
  std::uint32_t code = kHighControls[byte - 0x80];
  return code != 0 ? code : byte;
}

void AppendUtf8(std::string& out, std::uint32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

// Decodes one UTF-8 sequence at pos (strict: no overlong forms, no
// surrogates, nothing above U+10FFFF).
bool DecodeUtf8(const std::string& text, std::size_t& pos, std::uint32_t& code) {
  unsigned char lead = static_cast<unsigned char>(text[pos]);
  int extra;
  std::uint32_t minimum;
  if (lead < 0x80) {
    code = lead;
    ++pos;
    return true;
  }
  if (lead >= 0xC2 && lead <= 0xDF) {
    extra = 1;
    code = lead & 0x1F;
    minimum = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    extra = 2;
    code = lead & 0x0F;
    minimum = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    extra = 3;
    code = lead & 0x07;
    minimum = 0x10000;
  } else
    return false;
  if (text.size() - pos <= static_cast<std::size_t>(extra)) return false;
  for (int i = 1; i <= extra; ++i) {
    unsigned char next = static_cast<unsigned char>(text[pos + i]);
    if ((next & 0xC0) != 0x80) return false;
    code = (code << 6) | (next & 0x3F);
  }
  if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
  pos += static_cast<std::size_t>(extra) + 1;
  return true;
}

}  // namespace

std::string Cp1252ToUtf8(const std::string& bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (char c : bytes) AppendUtf8(out, CodeOfByte(static_cast<unsigned char>(c)));
  return out;
}

bool Utf8ToCp1252(const std::string& utf8, std::string& bytes, std::string& error) {
  bytes.clear();
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    std::uint32_t code;
    if (!DecodeUtf8(utf8, pos, code)) {
      error = "invalid UTF-8";
      return false;
    }
    if (code == 0) {
      error = "a text cannot hold U+0000";
      return false;
    }
    int byte = -1;
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) {
      byte = static_cast<int>(code);
    } else {
      for (int i = 0; i < 32; ++i) {
        std::uint32_t mapped = kHighControls[i] != 0 ? kHighControls[i] : 0x80u + i;
        if (mapped == code) byte = 0x80 + i;
      }
    }
    if (byte < 0) {
      char reason[64];
      std::snprintf(reason, sizeof reason, "U+%04X is not in code page 1252", static_cast<unsigned>(code));
      error = reason;
      return false;
    }
    bytes += static_cast<char>(byte);
  }
  return true;
}
