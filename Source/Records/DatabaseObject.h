// DatabaseObject<Record>: the store of one kind, a RecordStore whose buffer is
// a DatabaseData<Kind> record, and the open/close sequence every user of a
// store repeats. A store lives for one user action:
//
//   if (auto store = OpenStore<DatabaseDataTextNote>()) {
//     store->Data() ... store->AddRecord();
//     CloseStore(store);
//   }
#ifndef QUILLMATE_RECORDS_DATABASEOBJECT_H
#define QUILLMATE_RECORDS_DATABASEOBJECT_H

#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "Records/DataFolders.h"
#include "Records/DatabaseData.h"
#include "Records/RecordStore.h"

template <class Record>
class DatabaseObject : public RecordStore {
 public:
  // The buffer starts zeroed: empty texts, zero numbers, no address.
  DatabaseObject() : DatabaseObject(std::make_unique<Record>()) {}

  Record& Data() { return *m_record; }
  const Record& Data() const { return *m_record; }

  // Rewrites the record the buffer was read from with newRecord, built by the
  // caller in a separate, zero-initialised record.
  std::uint32_t ChangeRecord(const Record& newRecord) { return ChangeRecordImage(&newRecord); }

  // Visits every live record: visitor(const Record&, std::uint32_t objectAddress).
  template <class Visitor>
  void ForEachRecordOf(Visitor&& visitor) {
    ForEachRecord([this, &visitor](std::uint32_t address) { visitor(*m_record, address); });
  }

 private:
  explicit DatabaseObject(std::unique_ptr<Record> record)
      : RecordStore(Record::kKind, reinterpret_cast<unsigned char*>(record.get())),
        m_record(std::move(record)) {}

  std::unique_ptr<Record> m_record;
};

using DatabaseObjectTextNote = DatabaseObject<DatabaseDataTextNote>;
using DatabaseObjectAudioNote = DatabaseObject<DatabaseDataAudioNote>;
using DatabaseObjectVideoNote = DatabaseObject<DatabaseDataVideoNote>;
using DatabaseObjectPhotoAlbum = DatabaseObject<DatabaseDataPhotoAlbum>;
using DatabaseObjectTimeNotif = DatabaseObject<DatabaseDataTimeNotif>;
using DatabaseObjectEmailRes = DatabaseObject<DatabaseDataEmailRes>;
using DatabaseObjectInternetRes = DatabaseObject<DatabaseDataInternetRes>;
using DatabaseObjectFastText = DatabaseObject<DatabaseDataFastText>;

// A store of any kind, for code that works through the kind table.
std::unique_ptr<RecordStore> MakeRecordStore(RecordKind kind);

// Closes a store that is dropped without CloseStore (an early return), still
// reporting a pending error, then destroys it.
struct StoreCloser {
  void operator()(RecordStore* store) const;
};

template <class Record>
using StorePointer = std::unique_ptr<DatabaseObject<Record>, StoreCloser>;

// Opens the file at path read-write, or creates it as an empty database when
// nothing exists there; an existing file is never truncated or recreated.
// Returns the error code and leaves a pending error for ReportError.
int OpenOrCreateStoreFile(RecordStore& store, const std::string& path);

// Closes the store's file and reports a pending error; true when none was
// reported.
bool CloseStoreFile(RecordStore& store);

// Constructs the store, opens or creates its file, then ReportError: null when
// an error was reported (the action is then abandoned).
template <class Record>
StorePointer<Record> OpenStore(const std::string& path) {
  StorePointer<Record> store(new DatabaseObject<Record>());
  OpenOrCreateStoreFile(*store, path);
  if (store->ReportError()) {
    // Already reported: close quietly so the error is not told twice.
    std::unique_ptr<DatabaseObject<Record>> failed(store.release());
    failed->Close();
    return nullptr;
  }
  return store;
}

// The kind's own file in the data folder.
template <class Record>
StorePointer<Record> OpenStore() {
  return OpenStore<Record>(StoreFilePath(Record::kKind));
}

// Close, ReportError, destroy. True when no error was reported.
template <class Record>
bool CloseStore(StorePointer<Record>& store) {
  if (!store) return false;
  bool clean = CloseStoreFile(*store);
  delete store.release();
  return clean;
}

#endif  // QUILLMATE_RECORDS_DATABASEOBJECT_H
