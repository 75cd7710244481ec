// The qmdb commands behind main. Each returns the
// process exit code and writes only to the streams it is given.
#ifndef QUILLMATE_TOOLS_QMDB_QMDBCOMMANDS_H
#define QUILLMATE_TOOLS_QMDB_QMDBCOMMANDS_H

#include <istream>
#include <ostream>
#include <string>
#include <vector>

constexpr int kExitOk = 0;
constexpr int kExitDamaged = 1;  // check: damage found; add: a malformed line
constexpr int kExitFailure = 2;  // usage error, unusable file, failed write
constexpr int kExitProgramRunning = 3;  // add or import while Quillmate runs: nothing written

int RunQmdb(const std::vector<std::string>& arguments, std::istream& in, std::ostream& out,
            std::ostream& err);

const char* QmdbHelpText();

#endif  // QUILLMATE_TOOLS_QMDB_QMDBCOMMANDS_H
