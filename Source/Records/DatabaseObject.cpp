// The non-template parts of the stores: opening and closing a store's file
// and making a store of any kind. The file-status query decides between
// Open and Create; because Create truncates, it runs only when nothing at all
// exists at the path, checked again right before it.
#include <cstdio>
#include <memory>

#include "Records/DatabaseObject.h"
#include "Records/FileSystemPlatform.h"

int OpenOrCreateStoreFile(RecordStore& store, const std::string& path) {
  if (gxFileExists(path.c_str()) || !PlatformPathIsAbsent(path)) {
    // Something is there: open it, and let a file that is no database (or a
    // folder) fail to open rather than be replaced.
    return store.Open(path.c_str(), 2);
  }
  return store.Create(path.c_str(), 0, 'C');
}

bool CloseStoreFile(RecordStore& store) {
  // A pending error of the action is reported before Close resets it.
  bool reported = store.ReportError();
  store.Close();
  reported = store.ReportError() || reported;
  return !reported;
}

void StoreCloser::operator()(RecordStore* store) const {
  if (store == nullptr) return;
  CloseStoreFile(*store);
  delete store;
}

std::unique_ptr<RecordStore> MakeRecordStore(RecordKind kind) {
  switch (kind) {
    case RecordKind::TextNote:
      return std::make_unique<DatabaseObjectTextNote>();
    case RecordKind::AudioNote:
      return std::make_unique<DatabaseObjectAudioNote>();
    case RecordKind::VideoNote:
      return std::make_unique<DatabaseObjectVideoNote>();
    case RecordKind::PhotoAlbum:
      return std::make_unique<DatabaseObjectPhotoAlbum>();
    case RecordKind::TimeNotif:
      return std::make_unique<DatabaseObjectTimeNotif>();
    case RecordKind::EmailRes:
      return std::make_unique<DatabaseObjectEmailRes>();
    case RecordKind::InternetRes:
      return std::make_unique<DatabaseObjectInternetRes>();
    case RecordKind::FastText:
      return std::make_unique<DatabaseObjectFastText>();
  }
  return nullptr;
}
