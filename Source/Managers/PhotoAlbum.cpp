// Adding photos by copying them into the album folder, and the album
// viewer's stepping through the list.
#include "Managers/PhotoAlbum.h"

#include <algorithm>
#include <vector>

#include "Managers/ManagerCore.h"
#include "Managers/ManagerWindows.h"
#include "Managers/RecordAccessors.h"
#include "Records/AttachmentName.h"
#include "Records/DataFolders.h"
#include "Records/FileSystemPlatform.h"
#include "Records/MessageBoxSeam.h"
#include "Records/RecordText.h"

namespace {

// A name that is taken but cannot be opened for reading (another program
// holds it, or it may not be read) looks free to MakeAttachmentName; the copy
// never replaces a file, and such a name is refused and the next one taken.
// False when no copy could be made.
// A new name needs the clock to move on; both bounds are far beyond what a
// working machine needs.
constexpr std::size_t kMaximumRefusedNames = 64;
constexpr int kMaximumAttempts = 100000;

bool CopyToFreeName(const std::string& sourcePath, const std::string& extension, std::string& copyPath) {
  std::vector<std::string> refused;
  for (int attempt = 0; attempt < kMaximumAttempts && refused.size() < kMaximumRefusedNames; ++attempt) {
    MakeAttachmentName(gPhotoFolder, "Photo", extension.c_str(), copyPath);
    if (std::find(refused.begin(), refused.end(), copyPath) != refused.end()) continue;
    if (CopyFileA(sourcePath.c_str(), copyPath.c_str(), TRUE)) return true;
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS && error != ERROR_SHARING_VIOLATION &&
        error != ERROR_ACCESS_DENIED)
      return false;
    // Access denied also comes from a missing or unreadable source: only a
    // name that exists is worth another try.
    if (PlatformPathIsAbsent(copyPath)) return false;
    refused.push_back(copyPath);
  }
  return false;
}

}  // namespace

bool AddPhoto(HWND mainWindow, const std::string& title, const std::string& comment,
              const std::string& sourcePath, bool showFirst) {
  std::string copyPath;
  bool copied = false;
  std::uint32_t address =
      AppendKindRecord(RecordKind::PhotoAlbum, mainWindow, showFirst, [&](unsigned char* bytes) {
        if (!CopyToFreeName(sourcePath, AttachmentExtensionOf(sourcePath), copyPath)) {
          ShowMessageBox(nullptr, "File IO error - Copying to Application Data Dir.", "Quillmate",
                         kMbOk | kMbIconError);
          return false;
        }
        copied = true;
        // A copy of a read-only picture would be read-only too, and could
        // then not be deleted with its record.
        SetFileAttributesA(copyPath.c_str(), FILE_ATTRIBUTE_NORMAL);
        auto& record = *reinterpret_cast<DatabaseDataPhotoAlbum*>(bytes);
        CopyRecordText(record.title, title.c_str());
        CopyRecordText(record.comment, comment.c_str());
        CopyRecordText(record.fileName, BareFileName(copyPath).c_str());
        return true;
      });
  // No record names the copy when the store refused the record.
  if (address == 0 && copied) DeleteFileA(copyPath.c_str());
  return address != 0;
}

bool StepAlbum(HWND mainWindow, PhotoValues& values, bool back, int& position, bool first) {
  return StepAlbum(AlbumAddresses(mainWindow), values, back, position, first);
}

std::vector<std::uint32_t> AlbumAddresses(HWND mainWindow) {
  CListView list = RecordListOf(mainWindow);
  std::vector<std::uint32_t> addresses;
  const int count = list.GetItemCount();
  for (int row = 0; row < count; ++row) addresses.push_back(static_cast<std::uint32_t>(list.GetItemParam(row)));
  return addresses;
}

bool StepAlbum(const std::vector<std::uint32_t>& addresses, PhotoValues& values, bool back, int& position,
               bool first) {
  const int count = static_cast<int>(addresses.size());
  if (count == 0) return false;
  if (back) {
    --position;
  } else if (!first) {
    ++position;
  }
  if (position > count - 1) position = count - 1;
  if (position < 0) position = 0;
  return ReadKindRecordAt(RecordKind::PhotoAlbum, addresses[static_cast<std::size_t>(position)],
                          [&values](const unsigned char* bytes) {
                            ReadValues(*reinterpret_cast<const DatabaseDataPhotoAlbum*>(bytes), values);
                            return true;
                          });
}
