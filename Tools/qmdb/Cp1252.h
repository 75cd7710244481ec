// Conversion between the records' single-byte text (Windows code page 1252)
// and the UTF-8 that qmdb reads and writes.
#ifndef QUILLMATE_TOOLS_QMDB_CP1252_H
#define QUILLMATE_TOOLS_QMDB_CP1252_H

#include <string>

// Every byte converts: the five bytes 1252 leaves undefined (81, 8D, 8F, 90,
// 9D) become the control characters U+0081 ... as Windows converts them.
std::string Cp1252ToUtf8(const std::string& bytes);

// Fails (with a reason) on invalid UTF-8, on U+0000, and on characters that
// code page 1252 cannot represent.
bool Utf8ToCp1252(const std::string& utf8, std::string& bytes, std::string& error);

#endif  // QUILLMATE_TOOLS_QMDB_CP1252_H
