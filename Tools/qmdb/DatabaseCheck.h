// qmdb check: a read-only audit of one database file. It walks the heap,
// verifies the CRC of every live record and follows the free-space list,
// printing one line per problem and a summary line.
#ifndef QUILLMATE_TOOLS_QMDB_DATABASECHECK_H
#define QUILLMATE_TOOLS_QMDB_DATABASECHECK_H

#include <ostream>
#include <string>

#include "Records/RecordKind.h"

constexpr int kCheckClean = 0;
constexpr int kCheckDamaged = 1;
constexpr int kCheckUnusable = 2;

// Returns kCheckClean, kCheckDamaged or kCheckUnusable (the file cannot be
// opened as a database). Never writes to the file. With a kind, a live block
// of another length is a problem too (the file holds another kind).
int CheckDatabaseFile(const std::string& path, std::ostream& out, const RecordKindInfo* kind = nullptr);

// For the commands that write a kind's records into an existing file: false,
// with what was found, when a live block of the file is not of the kind's
// length, so that one kind's records never go into another kind's store.
// A file that cannot be walked counts as holding no other kind (opening it
// for writing reports it).
bool HoldsOnlyKind(const std::string& path, const RecordKindInfo& kind, std::string& found);

#endif  // QUILLMATE_TOOLS_QMDB_DATABASECHECK_H
