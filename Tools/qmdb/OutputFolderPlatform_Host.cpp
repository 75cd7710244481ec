// POSIX: file names are bytes, so UTF-8 names are used as they are.
#include <dirent.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstring>

#include "OutputFolderPlatform.h"

bool PlatformMakeFolder(const std::string& path) {
  mkdir(path.c_str(), 0777);
  struct stat status;
  return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

bool PlatformFolderIsEmpty(const std::string& path) {
  DIR* folder = opendir(path.c_str());
  if (folder == nullptr) return false;
  bool empty = true;
  while (dirent* entry = readdir(folder)) {
    if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0) empty = false;
  }
  closedir(folder);
  return empty;
}

std::FILE* PlatformOpenOutputFile(const std::string& folder, const std::string& utf8Name) {
  return std::fopen((folder + utf8Name).c_str(), "wb");
}

bool PlatformRemoveOutputFile(const std::string& folder, const std::string& utf8Name) {
  return std::remove((folder + utf8Name).c_str()) == 0;
}
