#include "Search/SearchCodePage.h"

#include <cstring>

namespace {

// Pairs where the capital is even and the small letter follows it.
bool InEvenOddPairs(std::uint32_t code) {
  return (code >= 0x0100 && code <= 0x012F) || (code >= 0x0132 && code <= 0x0137) ||
         (code >= 0x014A && code <= 0x0177) || (code >= 0x01A0 && code <= 0x01A5) ||
         (code >= 0x0490 && code <= 0x04BF) || (code >= 0x04D0 && code <= 0x04FF);
}

// Pairs where the capital is odd.
bool InOddEvenPairs(std::uint32_t code) {
  return (code >= 0x0139 && code <= 0x0148) || (code >= 0x0179 && code <= 0x017E) ||
         (code >= 0x01AF && code <= 0x01B0) || (code >= 0x04C1 && code <= 0x04CE);
}

}  // namespace

std::uint32_t UnicodeLowerCase(std::uint32_t code) {
  if (code >= 'A' && code <= 'Z') return code + 0x20;
  if (code >= 0xC0 && code <= 0xDE && code != 0xD7) return code + 0x20;
  if (InEvenOddPairs(code)) return code | 1u;
  if (InOddEvenPairs(code)) return (code & 1u) != 0 ? code + 1 : code;
  if (code == 0x0178) return 0xFF;   // Y with diaeresis
  if (code == 0x0130) return 'i';    // I with dot above
  if (code == 0x0386) return 0x03AC;  // Greek capitals with tonos
  if (code >= 0x0388 && code <= 0x038A) return code + 0x25;
  if (code == 0x038C) return 0x03CC;
  if (code == 0x038E || code == 0x038F) return code + 0x3F;
  if (code >= 0x0391 && code <= 0x03AB && code != 0x03A2) return code + 0x20;
  if (code >= 0x0400 && code <= 0x040F) return code + 0x50;  // Cyrillic
  if (code >= 0x0410 && code <= 0x042F) return code + 0x20;
  return code;
}

SearchCodePage::SearchCodePage(const std::uint16_t (&high)[128]) {
  std::memcpy(m_high, high, sizeof m_high);
  for (int byte = 0; byte < 256; ++byte) {
    m_fold[byte] = static_cast<unsigned char>(byte);
    const std::uint32_t code = byte < 0x80 ? static_cast<std::uint32_t>(byte) : high[byte - 0x80];
    if (code == 0) continue;
    const int lower = ByteOf(UnicodeLowerCase(code));
    if (lower >= 0) m_fold[byte] = static_cast<unsigned char>(lower);
  }
}

SearchCodePage::SearchCodePage(const std::uint16_t (&high)[128], const unsigned char (&lower)[256]) {
  std::memcpy(m_high, high, sizeof m_high);
  std::memcpy(m_fold, lower, sizeof m_fold);
}

int SearchCodePage::ByteOf(std::uint32_t code) const {
  if (code < 0x80) return static_cast<int>(code);
  for (int i = 0; i < 128; ++i) {
    if (m_high[i] == code) return 0x80 + i;
  }
  return -1;
}
