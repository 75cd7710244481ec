// What the user typed, split into words and folded to lower case through the
// code page: a record matches when every word occurs somewhere in it, each
// as a part of any text (case ignored, in any order).
#ifndef QUILLMATE_SEARCH_SEARCHQUERY_H
#define QUILLMATE_SEARCH_SEARCHQUERY_H

#include <cstddef>
#include <string>
#include <vector>

#include "Search/SearchCodePage.h"

// At most this many words count; a record keeps one bit per word.
constexpr std::size_t kMaxQueryWords = 32;

class SearchQuery {
 public:
  // Words are separated by blanks, tabs and line ends.
  SearchQuery(const std::string& text, const SearchCodePage& codePage);

  bool Empty() const { return m_words.empty(); }
  const std::vector<std::string>& Words() const { return m_words; }
  const SearchCodePage& CodePage() const { return m_codePage; }
  unsigned AllWords() const { return m_words.size() >= 32 ? ~0u : (1u << m_words.size()) - 1; }

 private:
  const SearchCodePage& m_codePage;
  std::vector<std::string> m_words;  // folded, each once
};

// Folds size bytes of text into out (replacing its content).
void FoldText(const char* text, std::size_t size, const SearchCodePage& codePage, std::string& out);

#endif  // QUILLMATE_SEARCH_SEARCHQUERY_H
