// The single-byte code page that the search reads records and bodies in: for
// each byte its lower-case byte (case-insensitive matching folds both the
// query and the text through this table) and, for the bytes 0x80-0xFF, the
// Unicode character it stands for (so that \uN in a rich-text body becomes
// the byte a record would hold). The program fills it from the platform's
// conversion of the user's ANSI code page, qmdb from its code-page tables.
#ifndef QUILLMATE_SEARCH_SEARCHCODEPAGE_H
#define QUILLMATE_SEARCH_SEARCHCODEPAGE_H

#include <cstdint>

class SearchCodePage {
 public:
  // Unicode of bytes 0x80-0xFF (0 where the code page defines none); the
  // lower case of each byte is derived from the Unicode lower case.
  explicit SearchCodePage(const std::uint16_t (&high)[128]);
  // As above with a lower-case table given by the platform.
  SearchCodePage(const std::uint16_t (&high)[128], const unsigned char (&lower)[256]);

  unsigned char Fold(unsigned char byte) const { return m_fold[byte]; }
  const unsigned char* FoldTable() const { return m_fold; }

  // The byte that stands for a Unicode character; -1 when the code page has none.
  int ByteOf(std::uint32_t code) const;

 private:
  unsigned char m_fold[256];
  std::uint16_t m_high[128];
};

// The simple lower case of a Unicode character in the ranges the Windows
// single-byte code pages cover (Latin, Greek, Cyrillic); others unchanged.
std::uint32_t UnicodeLowerCase(std::uint32_t code);

#endif  // QUILLMATE_SEARCH_SEARCHCODEPAGE_H
