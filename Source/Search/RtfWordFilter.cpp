#include "Search/RtfWordFilter.h"

#include <cstring>

namespace {

bool IsSyntaxByte(unsigned char byte) {
  return byte == '\\' || byte == '{' || byte == '}' || byte == '\r' || byte == '\n';
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool IsLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

}  // namespace

RtfWordFilter::RtfWordFilter(const std::string& foldedWord, const SearchCodePage& codePage)
    : m_codePage(codePage), m_length(foldedWord.size()) {
  for (unsigned char byte : foldedWord) {
    m_inWord[byte] = true;
    if (byte == '\\' || byte == '{' || byte == '}' || byte == '?') m_alwaysRead = true;
  }
  // States 0..length-1; reaching length is a match. At most 254 letters,
  // so a state fits a byte.
  if (m_length == 0 || m_length > 254) {
    m_alwaysRead = true;
    return;
  }
  const unsigned char first = static_cast<unsigned char>(foldedWord[0]);
  for (int byte = 0; byte < 256; ++byte) {
    m_matters[byte] = byte == '\\' ||
                      (codePage.Fold(static_cast<unsigned char>(byte)) == first && !IsSyntaxByte(static_cast<unsigned char>(byte)));
  }
  m_next.assign((m_length + 1) * 256, 0);
  std::size_t fallback = 0;  // the state the automaton would be in without the word's first letter
  for (std::size_t state = 0; state < m_length; ++state) {
    for (int byte = 0; byte < 256; ++byte)
      m_next[state * 256 + byte] = state == 0 ? 0 : m_next[fallback * 256 + byte];
    m_next[state * 256 + static_cast<unsigned char>(foldedWord[state])] = static_cast<unsigned char>(state + 1);
    if (state > 0) fallback = m_next[fallback * 256 + static_cast<unsigned char>(foldedWord[state])];
  }
}

// An escape at the backslash at makes a character: \'hh its byte, \uN the
// code page's byte for U+N (or '?', which m_alwaysRead covers).
bool RtfWordFilter::EscapeMakesWordByte(const char* body, std::size_t size, std::size_t at) const {
  if (at + 1 >= size) return false;
  const char next = body[at + 1];
  if (next == '\'') {
    if (at + 3 >= size) return false;
    const int high = HexValue(body[at + 2]), low = HexValue(body[at + 3]);
    if (high < 0 || low < 0) return false;
    return m_inWord[m_codePage.Fold(static_cast<unsigned char>(high * 16 + low))];
  }
  if (next != 'u' || at + 2 >= size || IsLetter(body[at + 2])) return false;
  std::size_t position = at + 2;
  bool negative = false;
  if (body[position] == '-') {
    negative = true;
    ++position;
  }
  long long code = 0;
  int digits = 0;
  while (position < size && body[position] >= '0' && body[position] <= '9' && digits < 10) {
    code = code * 10 + (body[position] - '0');
    ++position;
    ++digits;
  }
  if (digits == 0) return false;
  // As the reader takes it: a negative N stands for N + 65536, and -0 is 0.
  if (negative) code = -code;
  if (code < 0) code += 65536;
  const int byte = code >= 0 && code <= 0xFFFF ? m_codePage.ByteOf(static_cast<std::uint32_t>(code)) : -1;
  return byte >= 0 && m_inWord[m_codePage.Fold(static_cast<unsigned char>(byte))];
}

bool RtfWordFilter::MayContain(const char* body, std::size_t size) const {
  if (m_alwaysRead) return true;
  const unsigned char* bytes = reinterpret_cast<const unsigned char*>(body);
  const unsigned char* fold = m_codePage.FoldTable();
  const unsigned char* next = m_next.data();
  std::size_t i = 0;
  while (i < size) {
    // With no beginning of the word in hand only two bytes matter: a
    // backslash (its escape may make a letter of the word) and the word's
    // first letter. Everything else is passed over in a tight loop.
    while (i < size && !m_matters[bytes[i]]) ++i;
    if (i >= size) return false;
    if (bytes[i] == '\\') {
      // Only \'hh and \uN make characters of the word; the letters of any
      // other control word never reach the text and are passed over with it,
      // as is the character of a control symbol (\\, \{ and \} make
      // characters that no word the filter is used for holds).
      const unsigned char after = i + 1 < size ? bytes[i + 1] : 0;
      if ((after == '\'' || after == 'u') && EscapeMakesWordByte(body, size, i)) return true;
      if (!IsLetter(static_cast<char>(after))) {
        i += 2;
        continue;
      }
      const std::size_t word = ++i;
      while (i < size && IsLetter(static_cast<char>(bytes[i]))) ++i;
      // The data after \binN is not RTF: what it holds cannot be told apart
      // from what follows it without the reader.
      if (i - word == 3 && std::memcmp(body + word, "bin", 3) == 0) return true;
      continue;
    }
    std::size_t state = 0;
    while (i < size) {
      const unsigned char byte = bytes[i];
      // A run ends here: with a beginning of the word before it, the word
      // may go on after the RTF that follows.
      if (IsSyntaxByte(byte)) return true;
      state = next[state * 256 + fold[byte]];
      ++i;
      if (state == m_length) return true;
      if (state == 0) break;
    }
  }
  return false;
}
