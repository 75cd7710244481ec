// vCard (RFC 6350) for e-mail resources: one vCard 4.0 per record on export;
// on import vCard 4.0, 3.0 and plain 2.1 cards in UTF-8.
//
//   Record field | vCard property
//   -------------|------------------------------------------------------------
//   name         | FN (always written; on import N stands in when FN is absent)
//   company      | ORG
//   address      | ADR street (import: post office box and extended address
//   city         |   are put in front of the street); ADR locality
//   state        | ADR region
//   zip          | ADR postal code
//   phone        | TEL (import: several are joined with ", "; a tel: URI
//                |   loses its scheme)
//   nick         | NICKNAME
//   comment      | NOTE (several are joined with line breaks)
//   email        | EMAIL (import: the first; others are reported)
#ifndef QUILLMATE_TOOLS_QMDB_VCARD_H
#define QUILLMATE_TOOLS_QMDB_VCARD_H

#include <string>
#include <vector>

#include "ImportedRecord.h"
#include "RecordFields.h"

// Appends one card, CRLF line ends, folded and escaped. Empty fields other
// than the name are left out. Control characters dropped from the texts are
// added to dropped.
void AppendVCard(std::string& out, const RecordFields& fields, int& dropped);

// Reads every card of a file. Fails, with a reason naming the line, on text
// that is not UTF-8, on lines outside a card, on a card without END:VCARD,
// on encoded values of used properties (quoted-printable, base64), and on a
// file without cards. Properties the record has no place for become notes.
bool ReadVCards(const std::string& text, std::vector<ImportedRecord>& cards, std::string& error);

#endif  // QUILLMATE_TOOLS_QMDB_VCARD_H
