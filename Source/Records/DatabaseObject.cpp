// Opening and closing a store's file. The file-status query decides between
// Open and Create; because Create truncates, it runs only when nothing at all
// exists at the path, checked again right before it.
#include <cstdio>

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
