// Whole files read into and written from memory, for the inputs, side files
// and snapshots of qmdb (paths are native).
#ifndef QUILLMATE_TOOLS_QMDB_WHOLEFILE_H
#define QUILLMATE_TOOLS_QMDB_WHOLEFILE_H

#include <string>

// False when the file cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& bytes);

// Creates or truncates the file; false when it cannot be written whole.
bool WriteWholeFile(const std::string& path, const std::string& bytes);

// Puts a user's file back to bytes it held before. Nothing is done when it
// still holds them. Otherwise they are written over the file in place and
// flushed, and only then is what grows beyond them cut off: the file is never
// shortened first, so a write that fails part-way (a full disk, a size
// limit) leaves every byte it did not reach as it was. True when the file
// reads back as bytes.
bool RestoreFileInPlace(const std::string& path, const std::string& bytes);

#endif  // QUILLMATE_TOOLS_QMDB_WHOLEFILE_H
