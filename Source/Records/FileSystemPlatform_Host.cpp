// Host build: the application-data folder is $XDG_DATA_HOME, else
// ~/.local/share, the usual home of per-user data on free desktops.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>
#include <sys/types.h>

#include "Records/FileSystemPlatform.h"

std::string PlatformApplicationDataFolder() {
  const char* dataHome = std::getenv("XDG_DATA_HOME");
  if (dataHome != nullptr && dataHome[0] == '/') return dataHome;
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] != '\0') return std::string(home) + "/.local/share";
  return std::string();
}

void PlatformCreateFolder(const std::string& path) {
  mkdir(path.c_str(), 0777);
}

bool PlatformFileOpensForReading(const std::string& path) {
  struct stat status;
  if (stat(path.c_str(), &status) != 0 || S_ISDIR(status.st_mode)) return false;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return false;
  std::fclose(file);
  return true;
}

bool PlatformNameIsTaken(const std::string& path) {
  return !PlatformPathIsAbsent(path);
}

bool PlatformPathIsAbsent(const std::string& path) {
  struct stat status;
  if (lstat(path.c_str(), &status) == 0) return false;
  return errno == ENOENT;
}
