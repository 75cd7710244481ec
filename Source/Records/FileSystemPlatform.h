// The few file-system operations the data folder and the stores need, one
// implementation per platform: Win32 (SHGetFolderPathA, CreateDirectoryA,
// CreateFileA) in the Windows build, POSIX on the host.
#ifndef QUILLMATE_RECORDS_FILESYSTEMPLATFORM_H
#define QUILLMATE_RECORDS_FILESYSTEMPLATFORM_H

#include <string>

#ifdef _WIN32
constexpr char kPathSeparator = '\\';
#else
constexpr char kPathSeparator = '/';
#endif

// The user's application-data folder without a trailing separator; empty when
// the platform cannot tell.
std::string PlatformApplicationDataFolder();

// Creates one folder; an existing folder, or any failure, is not reported.
void PlatformCreateFolder(const std::string& path);

// True when the path opens as an existing file for reading.
bool PlatformFileOpensForReading(const std::string& path);

// True when anything exists at path (a file, also one another program holds
// open without sharing, or a folder), or the platform cannot tell: the name
// is taken.
bool PlatformNameIsTaken(const std::string& path);

// True only when nothing at all exists at path (no file, folder or link);
// false when something exists or when the platform cannot tell.
bool PlatformPathIsAbsent(const std::string& path);

#endif  // QUILLMATE_RECORDS_FILESYSTEMPLATFORM_H
