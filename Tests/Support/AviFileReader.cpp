// The RIFF walk of AviFileReader.h.
#include "Support/AviFileReader.h"

#include <cstring>

#include "Support/FileBytes.h"

namespace qmtest {
namespace {

using Bytes = std::vector<unsigned char>;

std::uint32_t Word(const Bytes& bytes, std::size_t at) {
  if (at + 4 > bytes.size()) return 0;
  return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

std::string FourCc(const Bytes& bytes, std::size_t at) {
  return at + 4 <= bytes.size() ? std::string(reinterpret_cast<const char*>(&bytes[at]), 4) : std::string();
}

// Calls visit(id, listType, dataStart, dataSize) for each chunk in
// [begin, end); false when a chunk runs past the end.
template <typename Visit>
bool Walk(const Bytes& bytes, std::size_t begin, std::size_t end, Visit visit) {
  std::size_t at = begin;
  while (at + 8 <= end) {
    const std::string id = FourCc(bytes, at);
    const std::uint32_t size = Word(bytes, at + 4);
    if (at + 8 + size > end) return false;
    const bool list = id == "LIST" || id == "RIFF";
    visit(id, list ? FourCc(bytes, at + 8) : std::string(), list ? at + 12 : at + 8, list ? size - 4 : size);
    at += 8 + size + (size & 1);
  }
  return true;
}

}  // namespace

AviFile ReadAviFile(const std::string& path) {
  AviFile avi;
  const Bytes bytes = ReadFileBytes(path);
  if (bytes.size() < 12 || FourCc(bytes, 0) != "RIFF" || FourCc(bytes, 8) != "AVI ") {
    avi.error = "not a RIFF AVI file";
    return avi;
  }
  const std::size_t end = 8 + static_cast<std::size_t>(Word(bytes, 4));
  if (end > bytes.size()) {
    avi.error = "RIFF length past the end of the file";
    return avi;
  }
  bool movi = false, ok = true;
  ok = Walk(bytes, 12, end, [&](const std::string& id, const std::string& type, std::size_t at, std::uint32_t size) {
    if (id == "LIST" && type == "hdrl") {
      ok &= Walk(bytes, at, at + size, [&](const std::string& id2, const std::string& type2, std::size_t at2,
                                           std::uint32_t size2) {
        if (id2 == "avih") {
          avi.microSecondsPerFrame = Word(bytes, at2);
          avi.totalFrames = Word(bytes, at2 + 16);
          avi.width = Word(bytes, at2 + 32);
          avi.height = Word(bytes, at2 + 36);
        } else if (id2 == "LIST" && type2 == "strl") {
          AviStream stream;
          ok &= Walk(bytes, at2, at2 + size2,
                     [&](const std::string& id3, const std::string&, std::size_t at3, std::uint32_t size3) {
                       if (id3 == "strh") {
                         stream.type = FourCc(bytes, at3);
                         stream.handler = FourCc(bytes, at3 + 4);
                         stream.scale = Word(bytes, at3 + 20);
                         stream.rate = Word(bytes, at3 + 24);
                         stream.length = Word(bytes, at3 + 32);
                       } else if (id3 == "strf") {
                         stream.format.assign(bytes.begin() + at3, bytes.begin() + at3 + size3);
                       }
                     });
          avi.streams.push_back(stream);
        }
      });
    } else if (id == "LIST" && type == "movi") {
      movi = true;
      // Chunks are named by stream number and kind: "00db", "01wb"; a
      // "rec " list groups some of them.
      auto take = [&](const std::string& id2, const std::string&, std::size_t at2, std::uint32_t size2,
                      auto& self) -> void {
        if (id2 == "LIST") {
          Walk(bytes, at2, at2 + size2, [&](const std::string& a, const std::string& b, std::size_t c,
                                           std::uint32_t d) { self(a, b, c, d, self); });
          return;
        }
        const int number = (id2[0] - '0') * 10 + (id2[1] - '0');
        if (number >= 0 && number < static_cast<int>(avi.streams.size())) {
          avi.streams[number].chunks.emplace_back(bytes.begin() + at2, bytes.begin() + at2 + size2);
        }
      };
      ok &= Walk(bytes, at, at + size, [&](const std::string& a, const std::string& b, std::size_t c,
                                           std::uint32_t d) { take(a, b, c, d, take); });
    } else if (id == "idx1") {
      avi.hasIndex = true;
    }
  });
  if (!ok) avi.error = "a chunk runs past its list";
  if (!movi) avi.error = "no movi list";
  return avi;
}

}  // namespace qmtest
