// Named access to the fields of one record of any kind, through the kind
// table: texts come out as UTF-8 and go in converted to the records' code
// page and cut to the field width, with a note of everything that did not fit.
#ifndef QUILLMATE_TOOLS_QMDB_RECORDFIELDS_H
#define QUILLMATE_TOOLS_QMDB_RECORDFIELDS_H

#include <cstdint>
#include <string>

#include "CodePage.h"
#include "Records/RecordKind.h"
#include "Records/RecordTime.h"

class RecordFields {
 public:
  // record: recordSize bytes of the kind, alive as long as this object.
  RecordFields(const RecordKindInfo& kind, unsigned char* record, const CodePage& codePage)
      : m_kind(kind), m_record(record), m_codePage(codePage) {}

  const RecordKindInfo& Kind() const { return m_kind; }
  const unsigned char* Record() const { return m_record; }

  // The field's value; names that the kind lacks give "" or 0. Bytes the
  // code page leaves undefined come out as U+FFFD and are counted.
  std::string Text(const char* name) const;
  int UndefinedBytes() const { return m_undefinedBytes; }
  // The text's bytes as stored, unconverted (file names on this machine).
  std::string RawText(const char* name) const;
  std::int32_t Integer(const char* name) const;
  RecordTime Time(const char* name) const;

  // Stores the text (CR LF kept as it is). Returns "" when all of it was
  // stored, else what was lost, e.g. "cut to 254 characters (300 given)" or
  // "2 characters not in code page 1252 stored as '?'". False in ok for
  // invalid UTF-8 or U+0000 (nothing is stored then).
  std::string SetText(const char* name, const std::string& utf8, bool& ok);
  void SetInteger(const char* name, std::int32_t value);

 private:
  const RecordField* Field(const char* name, RecordFieldType type) const;

  const RecordKindInfo& m_kind;
  unsigned char* m_record;
  const CodePage& m_codePage;
  mutable int m_undefinedBytes = 0;
};

#endif  // QUILLMATE_TOOLS_QMDB_RECORDFIELDS_H
