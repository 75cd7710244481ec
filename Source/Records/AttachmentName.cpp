// Attachment names come from the clock; collisions are resolved by asking the
// clock again, so a second request within the same millisecond waits until
// the clock moves on.
#include "Records/AttachmentName.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <utility>

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

namespace {

// Far more names than a folder holds from one session: a folder whose every
// name reads as taken (it cannot be read at all) ends the search, and the
// caller's exclusive creation then fails and is reported.
constexpr int kMostNamesTried = 10000;

}  // namespace

void MakeAttachmentName(const std::string& folder, const char* prefix, const char* extension,
                        std::string& fullPath) {
  fullPath = FormatAttachmentName(folder, prefix, extension, LocalNow());
  for (int tried = 1; PlatformNameIsTaken(fullPath) && tried < kMostNamesTried;) {
    std::string next = FormatAttachmentName(folder, prefix, extension, LocalNow());
    if (next != fullPath) ++tried;
    fullPath = std::move(next);
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

namespace {

// Windows opens a device, not a file, for these names, whatever extension
// follows and whatever blanks end the name before it.
bool IsDeviceName(const char* name) {
  static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
  std::string stem(name, std::strcspn(name, "."));
  while (!stem.empty() && (stem.back() == ' ' || stem.back() == '\t')) stem.pop_back();
  for (char& c : stem) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  for (const char* device : kDevices) {
    if (stem == device) return true;
  }
  // COM0 to COM9 and LPT0 to LPT9.
  return stem.size() == 4 && (stem.compare(0, 3, "COM") == 0 || stem.compare(0, 3, "LPT") == 0) &&
         std::isdigit(static_cast<unsigned char>(stem[3]));
}

// Only dots and blanks: the platform trims them to nothing or to the folder.
bool IsOnlyDotsAndBlanks(const char* name) {
  return name[std::strspn(name, ". ")] == '\0';
}

}  // namespace

bool AttachmentPath(const std::string& folder, const char* storedName, std::string& fullPath) {
  fullPath.clear();
  if (storedName == nullptr || storedName[0] == '\0') return false;
  if (IsOnlyDotsAndBlanks(storedName) || IsDeviceName(storedName)) return false;
  if (std::strpbrk(storedName, "\\/:") != nullptr) return false;
  fullPath.assign(folder).append(storedName);
  return true;
}
