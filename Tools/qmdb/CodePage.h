// The single-byte Windows ANSI code pages that records can be written in
// (874 and 1250 to 1258), converted to and from the UTF-8 that qmdb reads and
// writes. Records hold the code page of the machine that wrote them; 1252
// unless the user says otherwise.
#ifndef QUILLMATE_TOOLS_QMDB_CODEPAGE_H
#define QUILLMATE_TOOLS_QMDB_CODEPAGE_H

#include <cstdint>
#include <string>

class CodePage {
 public:
  // The code page with that number, or null when it is not one of the
  // single-byte ANSI code pages above.
  static const CodePage* Find(int number);
  static const CodePage& Windows1252();

  int Number() const { return m_number; }

  // Every byte converts. A byte the code page leaves undefined becomes,
  // without undefined, the control character of the same value (U+0081 ...),
  // as Windows converts it, so that dump output added back gives the same
  // bytes; with undefined, U+FFFD, counted there (for the standard formats,
  // where a control character would be a guess).
  std::string ToUtf8(const std::string& bytes, int* undefined = nullptr) const;

  // Fails (with a reason) on invalid UTF-8, on U+0000, and on characters the
  // code page cannot represent.
  bool FromUtf8(const std::string& utf8, std::string& bytes, std::string& error) const;

  // As FromUtf8, but a character the code page lacks becomes '?' and is
  // counted in replaced instead of failing; invalid UTF-8 and U+0000 still fail.
  bool FromUtf8Replacing(const std::string& utf8, std::string& bytes, int& replaced,
                         std::string& error) const;

  constexpr CodePage(int number, const std::uint16_t* high) : m_number(number), m_high(high) {}

 private:
  bool Convert(const std::string& utf8, std::string& bytes, int* replaced, std::string& error) const;
  std::uint32_t CodeOfByte(unsigned char byte) const;
  int ByteOfCode(std::uint32_t code) const;  // -1 when there is none

  int m_number;
  const std::uint16_t* m_high;  // bytes 0x80-0xFF; 0 = undefined
};

// Code page 1252 shorthands.
inline std::string Cp1252ToUtf8(const std::string& bytes) {
  return CodePage::Windows1252().ToUtf8(bytes);
}
inline bool Utf8ToCp1252(const std::string& utf8, std::string& bytes, std::string& error) {
  return CodePage::Windows1252().FromUtf8(utf8, bytes, error);
}

// Appends the UTF-8 form of one code point.
void AppendUtf8(std::string& out, std::uint32_t code);

// Decodes one strict UTF-8 sequence at pos (no overlong forms, no surrogates,
// nothing above U+10FFFF) and advances pos; false on a bad sequence.
bool DecodeUtf8(const std::string& text, std::size_t& pos, std::uint32_t& code);

#endif  // QUILLMATE_TOOLS_QMDB_CODEPAGE_H
