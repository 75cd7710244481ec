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

  const SearchCodePage& m_codePage;
  std::size_t m_length;
  bool m_alwaysRead = false;
  bool m_inWord[256] = {};
  bool m_matters[256] = {};  // a backslash, or a byte that folds to the word's first letter
  // m_next[state * 256 + byte]: the longest beginning of the word that ends
  // the folded bytes read so far (a matching automaton).
  std::vector<unsigned char> m_next;
};

#endif  // QUILLMATE_SEARCH_RTFWORDFILTER_H
