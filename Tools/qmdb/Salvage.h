// qmdb salvage: copies every record of a damaged database file that passes
// its check into a new file, and reports what it could not save and why. The
// damaged file is only read. A record whose block is intact but whose CRC
// fails is still the user's text: it goes to a side file of damaged records
// (JSON Lines, as dump writes them), and into the new file as well with
// keepDamaged. A record whose block header alone is broken (its check word)
// but whose status, length and CRC are right is recovered.
#ifndef QUILLMATE_TOOLS_QMDB_SALVAGE_H
#define QUILLMATE_TOOLS_QMDB_SALVAGE_H

#include <ostream>
#include <string>

#include "CodePage.h"
#include "Records/RecordKind.h"

struct SalvageRequest {
  std::string damagedPath;
  std::string repairedPath;  // must not exist
  const RecordKindInfo* kind = nullptr;
  bool keepDamaged = false;
  const CodePage* codePage = &CodePage::Windows1252();
};

// The side file of damaged records beside the repaired file:
// "X.qmt" -> "X.damaged.jsonl".
std::string DamagedRecordsPath(const std::string& repairedPath);

// Exit status: 0 every record was intact; 1 the new file holds what could
// be saved and the report names the rest; 2 nothing written (the damaged
// file is no usable database, or a file is in the way or cannot be written).
int SalvageDatabase(const SalvageRequest& request, std::ostream& out, std::ostream& err);

#endif  // QUILLMATE_TOOLS_QMDB_SALVAGE_H
