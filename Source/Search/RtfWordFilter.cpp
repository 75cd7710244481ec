#include "Search/RtfWordFilter.h"

#include <cstring>

#include "Records/RtfTokenizer.h"

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#include <emmintrin.h>
#endif

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
    const unsigned char folded = codePage.Fold(static_cast<unsigned char>(byte));
    if (byte >= 0x80 && m_inWord[folded]) m_onlyLowEscapes = false;
    if (folded != first || IsSyntaxByte(static_cast<unsigned char>(byte))) continue;
    m_first[byte] = true;
    if (m_firstCount >= 0 && m_firstCount < 4) {
      m_firstBytes[m_firstCount++] = static_cast<unsigned char>(byte);
    } else {
      m_firstCount = -1;
    }
  }
  if (m_firstCount < 0) m_firstCount = 0;
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

// Whether the pass must look at the byte at at: a first letter, or a
// backslash whose escape may make a letter of the word (\'hh, \uN), or
// \binN, whose data cannot be told apart from RTF without the reader.
bool RtfWordFilter::StopsAt(const unsigned char* bytes, std::size_t size, std::size_t at) const {
  if (m_first[bytes[at]]) return true;
  if (bytes[at] != '\\' || at + 1 >= size) return false;
  const unsigned char after = bytes[at + 1];
  if (after == '\'') return !m_onlyLowEscapes || at + 2 >= size || (bytes[at + 2] >= '0' && bytes[at + 2] <= '7');
  if (after == 'u') return true;
  return after == 'b' && at + 3 < size && bytes[at + 2] == 'i' && bytes[at + 3] == 'n';
}

#if defined(__SSE2__) || defined(__i386__)
#define QM_FILTER_SSE2 1
#endif

#ifdef QM_FILTER_SSE2
namespace {

bool ProcessorHasSse2() {
#ifdef __SSE2__
  return true;
#else
  unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
  return __get_cpuid(1, &eax, &ebx, &ecx, &edx) && (edx & bit_SSE2) != 0;
#endif
}

// StopsAt for 16 bytes at once (the blocks that have 3 bytes after them);
// the rest a byte at a time.
__attribute__((target("sse2"))) std::size_t NextStopSse2(const unsigned char* bytes, std::size_t size,
                                                          std::size_t from, const unsigned char* firstBytes,
                                                          int firstCount, bool onlyLowEscapes) {
  const __m128i backslash = _mm_set1_epi8('\\');
  const __m128i quote = _mm_set1_epi8('\'');
  const __m128i u = _mm_set1_epi8('u');
  const __m128i b = _mm_set1_epi8('b');
  const __m128i i = _mm_set1_epi8('i');
  const __m128i n = _mm_set1_epi8('n');
  const __m128i zero = _mm_set1_epi8('0');
  const __m128i seven = _mm_set1_epi8(7);
  const __m128i all = _mm_set1_epi8(-1);
  __m128i first[4];
  for (int k = 0; k < 4; ++k) first[k] = _mm_set1_epi8(static_cast<char>(firstBytes[k < firstCount ? k : 0]));
  std::size_t at = from;
  for (; at + 19 <= size; at += 16) {
    const __m128i v0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + at));
    const __m128i v1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + at + 1));
    const __m128i v2 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + at + 2));
    const __m128i v3 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + at + 3));
    __m128i stops = _mm_cmpeq_epi8(v0, first[0]);
    for (int k = 1; k < firstCount; ++k) stops = _mm_or_si128(stops, _mm_cmpeq_epi8(v0, first[k]));
    __m128i lowDigit = all;
    if (onlyLowEscapes) {
      const __m128i digit = _mm_sub_epi8(v2, zero);
      lowDigit = _mm_cmpeq_epi8(_mm_min_epu8(digit, seven), digit);
    }
    const __m128i escape = _mm_or_si128(
        _mm_or_si128(_mm_and_si128(_mm_cmpeq_epi8(v1, quote), lowDigit), _mm_cmpeq_epi8(v1, u)),
        _mm_and_si128(_mm_and_si128(_mm_cmpeq_epi8(v1, b), _mm_cmpeq_epi8(v2, i)), _mm_cmpeq_epi8(v3, n)));
    stops = _mm_or_si128(stops, _mm_and_si128(_mm_cmpeq_epi8(v0, backslash), escape));
    const int mask = _mm_movemask_epi8(stops);
    if (mask != 0) return at + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(mask)));
  }
  return at;
}

}  // namespace
#endif

std::size_t RtfWordFilter::NextStop(const unsigned char* bytes, std::size_t size, std::size_t from) const {
#ifdef QM_FILTER_SSE2
  static const bool sse2 = ProcessorHasSse2();
  if (sse2 && m_firstCount > 0) {
    from = NextStopSse2(bytes, size, from, m_firstBytes, m_firstCount, m_onlyLowEscapes);
    if (from + 19 <= size) return from;
  }
#endif
  while (from < size && !StopsAt(bytes, size, from)) ++from;
  return from;
}

bool RtfWordFilter::MayContain(const char* body, std::size_t size) const {
  if (m_alwaysRead) return true;
  const unsigned char* bytes = reinterpret_cast<const unsigned char*>(body);
  const unsigned char* fold = m_codePage.FoldTable();
  const unsigned char* next = m_next.data();
  std::size_t i = 0;
  while ((i = NextStop(bytes, size, i)) < size) {
    if (bytes[i] == '\\') {
      if (bytes[i + 1] == 'b') return true;  // \bin
      if (EscapeMakesWordByte(body, size, i)) return true;
      // On past the backslash only: when it was an escaped one, the letter
      // after it is text (the control-word test below tells).
      ++i;
      continue;
    }
    if (IsLetter(static_cast<char>(bytes[i]))) {
      // Letters after an odd run of backslashes are a control word's (an
      // even run is escaped backslashes, text): pass over them. More than a
      // control word's letters are taken as text (the reader refuses them).
      std::size_t start = i;
      while (start > 0 && i - start <= kRtfMaxWordLetters && IsLetter(static_cast<char>(bytes[start - 1]))) --start;
      std::size_t slashes = 0;
      while (start > slashes && bytes[start - 1 - slashes] == '\\') ++slashes;
      if (slashes % 2 == 1 && i - start <= kRtfMaxWordLetters) {
        while (i < size && IsLetter(static_cast<char>(bytes[i]))) ++i;
        continue;
      }
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
