// Whole files read into and written from memory, for the inputs, side files
// and snapshots of qmdb (paths are native).
#ifndef QUILLMATE_TOOLS_QMDB_WHOLEFILE_H
#define QUILLMATE_TOOLS_QMDB_WHOLEFILE_H

#include <string>

// False when the file cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& bytes);

// Creates or truncates the file; false when it cannot be written whole.
bool WriteWholeFile(const std::string& path, const std::string& bytes);

#endif  // QUILLMATE_TOOLS_QMDB_WHOLEFILE_H
