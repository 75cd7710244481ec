// The bounded RTF tokenizer: one pass, no allocation, every length checked
// against the input before it is used.
#include "Records/RtfTokenizer.h"

namespace {

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool IsTextByte(char c) { return c != '\\' && c != '{' && c != '}' && c != '\r' && c != '\n'; }

bool SameWord(const RtfToken& token, const char* word, std::size_t length) {
  if (token.length != length) return false;
  for (std::size_t i = 0; i < length; ++i) {
    if (token.text[i] != word[i]) return false;
  }
  return true;
}

}  // namespace

RtfTokenizer::RtfTokenizer(const char* data, std::size_t size) : data_(data), size_(data ? size : 0) {}

bool RtfTokenizer::Fail(RtfStatus status, std::size_t at) {
  status_ = status;
  position_ = at;
  ended_ = true;
  return false;
}

bool RtfTokenizer::Next(RtfToken& token) {
  if (ended_) return false;
  // Line ends are not text in RTF; skip them between tokens.
  while (position_ < size_ && (data_[position_] == '\r' || data_[position_] == '\n')) ++position_;
  if (position_ >= size_) {
    ended_ = true;
    return false;
  }
  token = RtfToken();
  token.offset = position_;
  const char c = data_[position_];
  if (c == '{') {
    if (depth_ >= kRtfMaxDepth) return Fail(RtfStatus::TooDeep, position_);
    ++depth_;
    ++position_;
    token.kind = RtfTokenKind::GroupOpen;
    return true;
  }
  if (c == '}') {
    if (depth_ > 0) --depth_;
    ++position_;
    token.kind = RtfTokenKind::GroupClose;
    return true;
  }
  if (c == '\\') return ReadEscape(token);
  std::size_t end = position_;
  while (end < size_ && IsTextByte(data_[end])) ++end;
  token.kind = RtfTokenKind::Text;
  token.text = data_ + position_;
  token.length = end - position_;
  position_ = end;
  return true;
}

// At a backslash: a control word, \'hh, or a control symbol.
bool RtfTokenizer::ReadEscape(RtfToken& token) {
  const std::size_t start = position_;
  if (start + 1 >= size_) {
    // A lone backslash at the very end: nothing follows it to read.
    position_ = size_;
    ended_ = true;
    return false;
  }
  const char next = data_[start + 1];
  if (IsLetter(next)) return ReadControlWord(token);
  if (next == '\'' && start + 3 < size_ && HexValue(data_[start + 2]) >= 0 &&
      HexValue(data_[start + 3]) >= 0) {
    token.kind = RtfTokenKind::HexByte;
    token.parameter = HexValue(data_[start + 2]) * 16 + HexValue(data_[start + 3]);
    token.hasParameter = true;
    position_ = start + 4;
    return true;
  }
  token.text = data_ + start + 1;
  token.length = 1;
  token.kind = (next == '\\' || next == '{' || next == '}') ? RtfTokenKind::Text : RtfTokenKind::ControlSymbol;
  position_ = start + 2;
  return true;
}

bool RtfTokenizer::ReadControlWord(RtfToken& token) {
  const std::size_t start = position_;
  std::size_t at = start + 1;
  while (at < size_ && IsLetter(data_[at])) {
    if (at - start - 1 >= kRtfMaxWordLetters) return Fail(RtfStatus::WordTooLong, start);
    ++at;
  }
  token.kind = RtfTokenKind::ControlWord;
  token.text = data_ + start + 1;
  token.length = at - start - 1;
  bool negative = false;
  if (at + 1 < size_ && data_[at] == '-' && IsDigit(data_[at + 1])) {
    negative = true;
    ++at;
  }
  std::size_t digits = 0;
  std::int64_t value = 0;
  while (at < size_ && IsDigit(data_[at])) {
    if (++digits > kRtfMaxParameterDigits) return Fail(RtfStatus::ParameterTooLong, start);
    value = value * 10 + (data_[at] - '0');  // at most 10 digits: fits easily
    ++at;
  }
  if (digits > 0) {
    token.hasParameter = true;
    token.parameter = negative ? -value : value;
  }
  // One blank ends the word and belongs to it.
  if (at < size_ && data_[at] == ' ') ++at;
  position_ = at;

  if (token.hasParameter && SameWord(token, "u", 1)) {
    token.kind = RtfTokenKind::Unicode;
  } else if (SameWord(token, "bin", 3)) {
    const std::int64_t count = token.hasParameter ? token.parameter : 0;
    if (count < 0 || static_cast<std::uint64_t>(count) > size_ - at) return Fail(RtfStatus::BinaryPastEnd, start);
    token.kind = RtfTokenKind::Binary;
    token.parameter = count;
    token.text = data_ + at;
    token.length = static_cast<std::size_t>(count);
    position_ = at + token.length;
  }
  return true;
}

RtfStatus CheckRtfBody(const char* data, std::size_t size, std::size_t* offset) {
  RtfTokenizer tokens(data, size);
  RtfToken token;
  while (tokens.Next(token)) {
  }
  if (offset) *offset = tokens.Offset();
  return tokens.Status();
}

const char* RtfStatusText(RtfStatus status) {
  switch (status) {
    case RtfStatus::Ok:
      return "well formed";
    case RtfStatus::TooDeep:
      return "groups nested more than 1000 deep";
    case RtfStatus::WordTooLong:
      return "a control word longer than 32 letters";
    case RtfStatus::ParameterTooLong:
      return "a number longer than 10 digits";
    case RtfStatus::BinaryPastEnd:
      return "binary data running past the end";
  }
  return "damaged";
}
