// RtfWordFilter: whether the plain text of a rich-text body can hold a
// word, decided in one pass over the body's bytes, without reading the RTF.
// The search turns a body into text only when the filter says it may: most
// bodies do not hold what is searched for, and the filter costs a fraction
// of the reading.
//
// Why it is sound (it never says "no" for a body whose text holds the word):
// the text is made of pieces, each either a run of the body's bytes as they
// lie, or one character made by an escape (\'hh, \uN, \{ ...) or a control
// word (\par, \tab ...). Runs end only at a backslash, a brace or a line end.
// So a word in the text either lies inside one run (the body holds it, letter
// case folded), or it begins in an escape (the escape makes one of its
// letters), or a run ends with a beginning of the word right before a
// backslash, brace or line end. The filter looks for exactly these three;
// words holding a character that RTF syntax or a lost character makes ('\',
// '{', '}', '?') are always read.
//
// The pass stops only where one of these can start: at a byte that folds to
// the word's first letter, and at a backslash followed by ', u or "bin". On
// x86 processors 16 bytes are looked at in one step; a first letter that
// turns out to belong to a control word (\qc for "quagga") is passed over
// with the word.
#ifndef QUILLMATE_SEARCH_RTFWORDFILTER_H
#define QUILLMATE_SEARCH_RTFWORDFILTER_H

#include <cstddef>
#include <string>
#include <vector>

#include "Search/SearchCodePage.h"

class RtfWordFilter {
 public:
  // foldedWord as SearchQuery holds it (not empty).
  RtfWordFilter(const std::string& foldedWord, const SearchCodePage& codePage);

  // False only when the body's plain text cannot hold the word.
  bool MayContain(const char* body, std::size_t size) const;

 private:
  bool EscapeMakesWordByte(const char* body, std::size_t size, std::size_t at) const;
  bool StopsAt(const unsigned char* bytes, std::size_t size, std::size_t at) const;
  std::size_t NextStop(const unsigned char* bytes, std::size_t size, std::size_t from) const;

  const SearchCodePage& m_codePage;
  std::size_t m_length;
  bool m_alwaysRead = false;
  bool m_inWord[256] = {};
  bool m_first[256] = {};  // bytes that fold to the word's first letter (no syntax bytes)
  // The bytes of m_first when they are few (else m_firstCount is 0 and the
  // pass goes a byte at a time).
  unsigned char m_firstBytes[4] = {};
  int m_firstCount = 0;
  // When no byte from 0x80 up folds into the word, an escape \'hh with a
  // first digit of 8 or more cannot make one of its letters.
  bool m_onlyLowEscapes = true;
  // m_next[state * 256 + byte]: the longest beginning of the word that ends
  // the folded bytes read so far (a matching automaton).
  std::vector<unsigned char> m_next;
};

#endif  // QUILLMATE_SEARCH_RTFWORDFILTER_H
