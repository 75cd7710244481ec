// The other writer of the two-process tests (ConcurrentWriterTests.cpp):
//
//   StoreWriterProcess <store> <tag> <count> <result file>
//
// adds count text notes titled "<tag> <i>" to an existing store, each in an
// action of its own (open, add, close) as the program and qmdb act, and
// deletes every fifth one again in another action, so that its appends and
// free-list reuse meet the other writer's. The result file gets a first line
// "added A deleted D refused R other O" and then the title of every note it
// left stored. Exit code 0 when each action either did its work or was
// refused with error 45 (the writer lock), 1 otherwise.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "Records/DatabaseObject.h"
#include "Records/MessageBoxSeam.h"
#include "Records/RecordText.h"

namespace {

struct Tally {
  int added = 0;
  int deleted = 0;
  int refused = 0;
  int other = 0;

  void Failed(const RecordStore& store) { ++(store.LastError() == gxFileLockError ? refused : other); }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: StoreWriterProcess <store> <tag> <count> <result file>\n");
    return 2;
  }
  const std::string path = argv[1];
  const std::string tag = argv[2];
  const int count = std::atoi(argv[3]);
  // A box would be a CRC warning: nothing this writer reads may be damaged.
  int boxes = 0;
  ScopedMessageBoxScript noBoxes([&boxes](void*, const char*, const char*, unsigned) {
    ++boxes;
    return kIdOk;
  });

  Tally tally;
  std::vector<std::string> stored;
  for (int i = 0; i < count; ++i) {
    const std::string title = tag + " " + std::to_string(i);
    auto store = OpenStore<DatabaseDataTextNote>(path);
    if (!store) {
      ++tally.other;
      continue;
    }
    CopyRecordText(store->Data().title, title.c_str());
    store->Data().noteType = 1;
    const std::uint32_t address = store->AddRecord();
    if (address != 0) {
      ++tally.added;
      stored.push_back(title);
    } else {
      tally.Failed(*store);
    }
    CloseStore(store);
    if (address == 0 || i % 5 != 4) continue;

    store = OpenStore<DatabaseDataTextNote>(path);
    if (!store) {
      ++tally.other;
      continue;
    }
    // The note must still be there, whole, where this writer put it.
    if (store->ReadRecord(address) != RecordReadStatus::Ok || RecordTextOf(store->Data().title) != title) {
      ++tally.other;
    } else if (store->DeleteRecord() == address) {
      ++tally.deleted;
      stored.pop_back();
    } else {
      tally.Failed(*store);
    }
    CloseStore(store);
  }
  tally.other += boxes;

  FILE* result = std::fopen(argv[4], "w");
  if (result == nullptr) return 1;
  std::fprintf(result, "added %d deleted %d refused %d other %d\n", tally.added, tally.deleted, tally.refused,
               tally.other);
  for (const std::string& title : stored) std::fprintf(result, "%s\n", title.c_str());
  std::fclose(result);
  return tally.other == 0 ? 0 : 1;
}
