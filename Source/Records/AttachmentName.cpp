// Attachment names come from the clock; collisions are resolved by asking the
// clock again, so a second request within the same millisecond waits until
// the clock moves on.
#include "Records/AttachmentName.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "Records/FileSystemPlatform.h"
#include "Records/LocalClock.h"

std::string FormatAttachmentName(const std::string& folder, const char* prefix, const char* extension,
                                 const RecordTime& time) {
  char digits[64];
  std::snprintf(digits, sizeof digits, "%d%d%d%d%d%d%d", time.year, time.month, time.day, time.hour,
                time.minute, time.second, time.milliseconds);
  std::string path = folder;
  path += prefix != nullptr ? prefix : "";
  path += digits;
  path += '.';
  path += extension != nullptr ? extension : "";
  return path;
}

void MakeAttachmentName(const std::string& folder, const char* prefix, const char* extension,
                        std::string& fullPath) {
  fullPath = FormatAttachmentName(folder, prefix, extension, LocalNow());
  while (PlatformFileOpensForReading(fullPath)) {
    fullPath = FormatAttachmentName(folder, prefix, extension, LocalNow());
  }
}

std::string BareFileName(const std::string& path) {
  std::string::size_type separator = path.find_last_of("\\/");
  return separator == std::string::npos ? path : path.substr(separator + 1);
}

std::string AttachmentExtensionOf(const std::string& sourcePath) {
  std::string name = BareFileName(sourcePath);
  std::string::size_type dot = name.rfind('.');
  if (dot == std::string::npos) return std::string();
  std::string extension = name.substr(dot + 1);
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension;
}

bool AttachmentPath(const std::string& folder, const char* storedName, std::string& fullPath) {
  fullPath.clear();
  if (storedName == nullptr || storedName[0] == '\0') return false;
  if (std::strcmp(storedName, ".") == 0 || std::strcmp(storedName, "..") == 0) return false;
  if (std::strpbrk(storedName, "\\/:") != nullptr) return false;
  fullPath = folder + storedName;
  return true;
}
