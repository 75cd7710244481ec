// qmdb check: a read-only audit of one database file. It walks the heap,
// verifies the CRC of every live record and follows the free-space list,
// printing one line per problem and a summary line.
#ifndef QUILLMATE_TOOLS_QMDB_DATABASECHECK_H
#define QUILLMATE_TOOLS_QMDB_DATABASECHECK_H

#include <ostream>
#include <string>

constexpr int kCheckClean = 0;
constexpr int kCheckDamaged = 1;
constexpr int kCheckUnusable = 2;

// Returns kCheckClean, kCheckDamaged or kCheckUnusable (the file cannot be
// opened as a database). Never writes to the file.
int CheckDatabaseFile(const std::string& path, std::ostream& out);

#endif  // QUILLMATE_TOOLS_QMDB_DATABASECHECK_H
