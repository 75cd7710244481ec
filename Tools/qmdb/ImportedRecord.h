// A record as a reader of a foreign format found it, before it is cut to the
// record widths: field values by the kind table's names, and notes about
// what the record has no place for, so that nothing is dropped unreported.
#ifndef QUILLMATE_TOOLS_QMDB_IMPORTEDRECORD_H
#define QUILLMATE_TOOLS_QMDB_IMPORTEDRECORD_H

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct ImportedRecord {
  long lineNumber = 0;                                     // where it starts in its file
  std::vector<std::pair<std::string, std::string>> texts;  // field name, UTF-8 value
  std::vector<std::pair<std::string, std::int32_t>> integers;
  std::vector<std::string> notes;

  void SetText(const char* field, const std::string& value) { texts.emplace_back(field, value); }
};

// True when text is valid UTF-8 (a leading byte order mark is allowed);
// otherwise error names the offset of the first bad byte.
bool CheckUtf8Text(const std::string& text, std::string& error);

#endif  // QUILLMATE_TOOLS_QMDB_IMPORTEDRECORD_H
