// Windows build: shell folder query, folder creation and the open test of
// attachment naming. Compiled only for Windows; ANSI functions throughout.
#include <windows.h>
#include <shlobj.h>

#include "Records/FileSystemPlatform.h"

namespace {
constexpr int kCsidlAppData = 26;  // CSIDL_APPDATA
}

std::string PlatformApplicationDataFolder() {
  char path[MAX_PATH] = {};
  // No window, no token, flag 0: the folder's current path.
  if (FAILED(SHGetFolderPathA(nullptr, kCsidlAppData, nullptr, 0, path))) return std::string();
  return path;
}

void PlatformCreateFolder(const std::string& path) {
  CreateDirectoryA(path.c_str(), nullptr);
}

bool PlatformFileOpensForReading(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_FLAG_SEQUENTIAL_SCAN | FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

bool PlatformNameIsTaken(const std::string& path) {
  // The name's entry, not its content: a file that cannot be opened (held
  // open without sharing, no access) is there all the same.
  return !PlatformPathIsAbsent(path);
}

bool PlatformPathIsAbsent(const std::string& path) {
  if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) return false;
  DWORD error = GetLastError();
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}
