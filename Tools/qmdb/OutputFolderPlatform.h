// The file operations of export that differ per platform. Folder paths are
// the native narrow paths the user typed; the names of exported files are
// UTF-8 (they come from record titles), so on Windows they are opened through
// the wide-character functions and keep every character of the title.
#ifndef QUILLMATE_TOOLS_QMDB_OUTPUTFOLDERPLATFORM_H
#define QUILLMATE_TOOLS_QMDB_OUTPUTFOLDERPLATFORM_H

#include <cstdio>
#include <string>

// Creates the folder when it does not exist; true when a folder exists there afterwards.
bool PlatformMakeFolder(const std::string& path);

// True when path is a folder without entries.
bool PlatformFolderIsEmpty(const std::string& path);

// Opens folder + utf8Name for writing in binary mode (folder ends with the
// path separator); null on failure.
std::FILE* PlatformOpenOutputFile(const std::string& folder, const std::string& utf8Name);

// Removes folder + utf8Name (a file written in part); false when it stays.
bool PlatformRemoveOutputFile(const std::string& folder, const std::string& utf8Name);

#endif  // QUILLMATE_TOOLS_QMDB_OUTPUTFOLDERPLATFORM_H
