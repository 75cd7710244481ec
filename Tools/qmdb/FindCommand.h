// qmdb find: the program's search across a data folder, for scripts. Words
// come in UTF-8 and are matched in the records' code page; hits go out one
// per line (tab-separated, or one JSON object per line), with the counts of
// what was skipped as damaged on standard error.
#ifndef QUILLMATE_TOOLS_QMDB_FINDCOMMAND_H
#define QUILLMATE_TOOLS_QMDB_FINDCOMMAND_H

#include <ostream>
#include <string>
#include <vector>

#include "CodePage.h"
#include "Records/RecordKind.h"
#include "Search/SearchCodePage.h"

struct FindRequest {
  std::string dataFolder;
  std::vector<std::string> words;  // UTF-8
  const RecordKindInfo* kind = nullptr;  // null: every kind
  const CodePage* codePage = nullptr;
  bool json = false;
};

// Exit status as the other commands: 0 done, 1 something was skipped as
// damaged, 2 usage error.
int FindInDataFolder(const FindRequest& request, std::ostream& out, std::ostream& err);

// The search's view of a code page: bytes 0x80-0xFF as Unicode, lower case
// from the Unicode lower case.
SearchCodePage SearchCodePageOf(const CodePage& codePage);

#endif  // QUILLMATE_TOOLS_QMDB_FINDCOMMAND_H
