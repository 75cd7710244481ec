// Walks fuzzed bytes through the RTF tokenizer, checking its invariants on
// every token.
#include "RtfFuzzTarget.h"

#include <cstdlib>

#include "Records/RtfTokenizer.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

std::size_t QmFuzzRtfTokenizer(const std::uint8_t* data, std::size_t size) {
  const char* text = reinterpret_cast<const char*>(data);
  RtfTokenizer tokens(text, size);
  RtfToken token;
  std::size_t count = 0;
  std::size_t lastOffset = 0;
  while (tokens.Next(token)) {
    ++count;
    Require(count <= size);
    Require(count == 1 || token.offset > lastOffset);
    lastOffset = token.offset;
    Require(tokens.Offset() > token.offset && tokens.Offset() <= size);
    Require(tokens.Depth() >= 0 && tokens.Depth() <= kRtfMaxDepth);
    if (token.text) {
      Require(token.text >= text && token.length <= size &&
              static_cast<std::size_t>(token.text - text) <= size - token.length);
    }
    switch (token.kind) {
      case RtfTokenKind::ControlWord:
        Require(token.length >= 1 && token.length <= kRtfMaxWordLetters);
        Require(token.parameter > -10000000000LL && token.parameter < 10000000000LL);
        break;
      case RtfTokenKind::HexByte:
        Require(token.parameter >= 0 && token.parameter <= 255);
        break;
      case RtfTokenKind::Binary:
        Require(token.parameter >= 0 && static_cast<std::size_t>(token.parameter) == token.length);
        break;
      case RtfTokenKind::Text:
      case RtfTokenKind::ControlSymbol:
        Require(token.length >= 1);
        break;
      default:
        break;
    }
  }
  Require(!tokens.Next(token));
  std::size_t offset = 0;
  Require(CheckRtfBody(text, size, &offset) == tokens.Status());
  Require(tokens.Status() == RtfStatus::Ok || offset == tokens.Offset());
  return count;
}
