// Quoted-printable (RFC 2045), the encoding that vCard 2.1 writes for texts
// beyond ASCII, as "ENCODING=QUOTED-PRINTABLE" or the bare parameter
// "QUOTED-PRINTABLE"; soft line breaks are joined while unfolding.
#ifndef QUILLMATE_TOOLS_QMDB_QUOTEDPRINTABLE_H
#define QUILLMATE_TOOLS_QMDB_QUOTEDPRINTABLE_H

#include <string>

// Decodes "=XX" escapes (hex digits of either case); false for an '='
// that is followed by no two hex digits.
bool DecodeQuotedPrintable(const std::string& encoded, std::string& bytes);

#endif  // QUILLMATE_TOOLS_QMDB_QUOTEDPRINTABLE_H
