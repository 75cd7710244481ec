// Folder paths are plain strings: this layer sits below the window toolkit
// and its string class.
#include "Records/DataFolders.h"

#include <utility>

#include "Records/FileSystemPlatform.h"

std::string gDataFolder;
std::string gTextNoteFolder;
std::string gAudioNoteFolder;
std::string gVideoNoteFolder;
std::string gPhotoFolder;
std::string gFastTextFolder;

namespace {

struct FolderOverride {
  bool active = false;
  std::string folder;
};

FolderOverride& Override() {
  static FolderOverride value;
  return value;
}

}  // namespace

std::string ApplicationDataFolder() {
  if (Override().active) return Override().folder;
  return PlatformApplicationDataFolder();
}

bool MakeDataFolders() {
  std::string base = ApplicationDataFolder();
  if (base.empty()) return false;
  if (base.back() != kPathSeparator) base += kPathSeparator;
  gDataFolder = base + "Quillmate" + kPathSeparator;
  PlatformCreateFolder(gDataFolder);
  // Attachment folders in kind order, which is the order of the table.
  for (int index = 0; index < kRecordKindCount; ++index) {
    const RecordKindInfo& info = RecordKindInfoAt(index);
    if (info.attachmentFolder == nullptr) continue;
    *info.attachmentFolder = gDataFolder + info.attachmentFolderName + kPathSeparator;
    PlatformCreateFolder(*info.attachmentFolder);
  }
  return true;
}

std::string StoreFilePath(RecordKind kind) {
  return gDataFolder + RecordKindInfoOf(kind).storeName + ".qmt";
}

const std::string& AttachmentFolder(RecordKind kind) {
  static const std::string kNone;
  const RecordKindInfo& info = RecordKindInfoOf(kind);
  return info.attachmentFolder != nullptr ? *info.attachmentFolder : kNone;
}

ScopedApplicationDataFolder::ScopedApplicationDataFolder(std::string folder)
    : m_previous(std::move(Override().folder)), m_hadPrevious(Override().active) {
  Override().active = true;
  Override().folder = std::move(folder);
}

ScopedApplicationDataFolder::~ScopedApplicationDataFolder() {
  Override().active = m_hadPrevious;
  Override().folder = std::move(m_previous);
}
