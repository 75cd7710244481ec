#include "RtfPlainTextFuzzTarget.h"

#include <cstdlib>
#include <string>

#include "Search/RtfPlainText.h"
#include "Search/RtfWordFilter.h"
#include "Search/SearchCodePage.h"
#include "Search/SearchQuery.h"

namespace {

// Code page 1252's upper half, enough for \uN to find bytes and for
// letter case to fold.
const SearchCodePage& FuzzCodePage() {
  static const SearchCodePage codePage = [] {
    std::uint16_t high[128];
    for (int i = 0; i < 128; ++i) high[i] = static_cast<std::uint16_t>(0x80 + i);
    high[0x00] = 0x20AC;  // euro sign at 0x80
    high[0x0A] = 0x0160;  // S with caron at 0x8A
    high[0x1A] = 0x0161;
    return SearchCodePage(high);
  }();
  return codePage;
}

}  // namespace

std::size_t QmFuzzRtfPlainText(const std::uint8_t* data, std::size_t size) {
  const char* bytes = reinterpret_cast<const char*>(data);
  std::string text;
  const RtfStatus status = RtfToPlainText(bytes, size, FuzzCodePage(), text);
  if (text.size() > size) std::abort();
  if (status != CheckRtfBody(bytes, size)) std::abort();
  // The word filter never turns away a body whose text holds the word: a
  // piece of the text (up to 8 bytes, no blanks) chosen by the input's size.
  if (status == RtfStatus::Ok && !text.empty()) {
    std::string folded;
    FoldText(text.data(), text.size(), FuzzCodePage(), folded);
    std::size_t begin = size % folded.size();
    while (begin < folded.size() && std::string(" \t\r\n").find(folded[begin]) != std::string::npos) ++begin;
    std::size_t end = begin;
    while (end < folded.size() && end - begin < 8 && std::string(" \t\r\n").find(folded[end]) == std::string::npos)
      ++end;
    if (end > begin) {
      const RtfWordFilter filter(folded.substr(begin, end - begin), FuzzCodePage());
      if (!filter.MayContain(bytes, size)) std::abort();
    }
  }
  return text.size();
}
