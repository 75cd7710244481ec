// Windows: the folder comes from the command line in the ANSI code page, the
// name is UTF-8; both become UTF-16 for _wfopen.
#include <windows.h>

#include <cstring>
#include <cwchar>

#include "OutputFolderPlatform.h"

namespace {

std::wstring Widen(const std::string& text, UINT codePage) {
  if (text.empty()) return std::wstring();
  int length = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (length <= 0) return std::wstring();
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
  return wide;
}

}  // namespace

bool PlatformMakeFolder(const std::string& path) {
  CreateDirectoryA(path.c_str(), nullptr);
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool PlatformFolderIsEmpty(const std::string& path) {
  std::string pattern = path;
  if (!pattern.empty() && pattern.back() != '\\' && pattern.back() != '/') pattern += '\\';
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA((pattern + "*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return false;
  bool empty = true;
  do {
    if (std::strcmp(entry.cFileName, ".") != 0 && std::strcmp(entry.cFileName, "..") != 0) empty = false;
  } while (empty && FindNextFileA(search, &entry));
  FindClose(search);
  return empty;
}

std::FILE* PlatformOpenOutputFile(const std::string& folder, const std::string& utf8Name) {
  const std::wstring path = Widen(folder, CP_ACP) + Widen(utf8Name, CP_UTF8);
  return _wfopen(path.c_str(), L"wb");
}

bool PlatformRemoveOutputFile(const std::string& folder, const std::string& utf8Name) {
  const std::wstring path = Widen(folder, CP_ACP) + Widen(utf8Name, CP_UTF8);
  return _wremove(path.c_str()) == 0;
}
