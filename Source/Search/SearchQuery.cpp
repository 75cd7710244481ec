#include "Search/SearchQuery.h"

#include <algorithm>

SearchQuery::SearchQuery(const std::string& text, const SearchCodePage& codePage) : m_codePage(codePage) {
  std::string word;
  auto finish = [&] {
    if (!word.empty() && m_words.size() < kMaxQueryWords &&
        std::find(m_words.begin(), m_words.end(), word) == m_words.end())
      m_words.push_back(word);
    word.clear();
  };
  for (char c : text) {
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
      finish();
    } else {
      word.push_back(static_cast<char>(codePage.Fold(static_cast<unsigned char>(c))));
    }
  }
  finish();
}

void FoldText(const char* text, std::size_t size, const SearchCodePage& codePage, std::string& out) {
  out.resize(size);
  const unsigned char* fold = codePage.FoldTable();
  for (std::size_t i = 0; i < size; ++i) out[i] = static_cast<char>(fold[static_cast<unsigned char>(text[i])]);
}
