#include "StoredRecords.h"

#include <memory>

#include "Records/DatabaseObject.h"
#include "Records/MessageBoxSeam.h"

bool ReadStoredRecords(const std::string& path, const RecordKindInfo& kind, std::vector<StoredRecord>& records,
                       std::string& error) {
  records.clear();
  std::unique_ptr<RecordStore> store = MakeRecordStore(kind.kind);
  const int code = store->Open(path.c_str(), 0);
  if (code != gxNoError || !store->IsReady()) {
    error = gxDatabase::ErrorText(code != gxNoError ? code : store->LastError());
    return false;
  }
  // The store warns through a message box when a record does not read back
  // clean; here that only marks the record.
  bool warned = false;
  ScopedMessageBoxScript quiet([&warned](void*, const char*, const char*, unsigned) {
    warned = true;
    return kIdOk;
  });
  store->ForEachRecord([&](std::uint32_t address) {
    StoredRecord record;
    record.address = address;
    record.crcOk = !warned;
    record.bytes.assign(store->RecordBytes(), store->RecordBytes() + kind.recordSize);
    records.push_back(std::move(record));
    warned = false;
  });
  store->Close();
  return true;
}
