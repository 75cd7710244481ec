// qmdb import: vCard files into e-mail resources, HTML bookmark files into
// internet resources. All inputs are read and checked before the store is
// touched: a bad input leaves the store byte-identical. Texts longer than a
// record field are cut with a warning each; records equal in every field but
// the date to one already stored (or imported earlier in the same run) are
// reported and not added again.
#ifndef QUILLMATE_TOOLS_QMDB_DATAIMPORT_H
#define QUILLMATE_TOOLS_QMDB_DATAIMPORT_H

#include <ostream>
#include <string>
#include <vector>

#include "CodePage.h"
#include "Records/RecordKind.h"

struct ImportRequest {
  std::vector<std::string> inputs;
  // A store file (a name ending in .qmt), or a data folder that holds (or
  // will hold) the kind's store file.
  std::string target;
  const RecordKindInfo* kind = nullptr;  // null: from the target's or the inputs' names
  const CodePage* codePage = &CodePage::Windows1252();
};

// Exit status: 0 imported (warnings about cuts and duplicates included);
// 1 an input is malformed, nothing imported; 2 usage, an unusable store or a
// failed write, the store as it was.
int ImportFiles(const ImportRequest& request, std::ostream& out, std::ostream& err);

#endif  // QUILLMATE_TOOLS_QMDB_DATAIMPORT_H
