// The search tests' code pages: Windows 1252 and 1251 as qmdb knows them.
#ifndef QUILLMATE_TESTS_SEARCH_SEARCHTESTSUPPORT_H
#define QUILLMATE_TESTS_SEARCH_SEARCHTESTSUPPORT_H

#include "FindCommand.h"

namespace qmsearch {

inline const SearchCodePage& Cp1252() {
  static const SearchCodePage codePage = SearchCodePageOf(CodePage::Windows1252());
  return codePage;
}

inline const SearchCodePage& Cp1251() {
  static const SearchCodePage codePage = SearchCodePageOf(*CodePage::Find(1251));
  return codePage;
}

}  // namespace qmsearch

#endif  // QUILLMATE_TESTS_SEARCH_SEARCHTESTSUPPORT_H
