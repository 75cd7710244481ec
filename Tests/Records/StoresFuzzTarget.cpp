// Every input is a database file image; the stores must walk and change it
// without reading outside their buffers, stalling or visiting a record twice.
#include "StoresFuzzTarget.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "Records/DatabaseObject.h"
#include "Records/MessageBoxSeam.h"

namespace {

const std::string& ScratchPath() {
  static const std::string path = [] {
    std::random_device random;
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    return (std::filesystem::temp_directory_path() /
            ("qm-fuzz-stores-" + std::to_string(random()) + "-" + std::to_string(ticks) + ".qmt"))
        .string();
  }();
  return path;
}

bool WriteScratch(const std::uint8_t* data, std::size_t size) {
  std::FILE* file = std::fopen(ScratchPath().c_str(), "wb");
  if (file == nullptr) return false;
  bool written = size == 0 || std::fwrite(data, 1, size, file) == size;
  return std::fclose(file) == 0 && written;
}

void Require(bool condition) {
  if (!condition) std::abort();
}

void Exercise(RecordKind kind, bool change) {
  std::unique_ptr<RecordStore> store = MakeRecordStore(kind);
  if (OpenOrCreateStoreFile(*store, ScratchPath()) != gxNoError || !store->IsReady()) return;
  const std::uint32_t end = store->CurrentEndOfFile();
  std::uint32_t previous = 0, first = 0;
  store->ForEachRecord([&](std::uint32_t address) {
    Require(address > previous && address < end);
    Require(store->RecordAddress() == address);
    previous = address;
    if (first == 0) first = address;
  });
  if (change && first != 0) {
    store->ReadRecord(first);
    std::vector<unsigned char> copy(store->RecordBytes(),
                                    store->RecordBytes() + store->KindInfo().recordSize);
    store->ChangeRecordImage(copy.data());
    store->DeleteRecord();
    store->AddRecord();
    store->ForEachRecord([](std::uint32_t) {});
  }
  store->Close();
}

}  // namespace

int QmFuzzStores(const std::uint8_t* data, std::size_t size) {
  ScopedMessageBoxScript silent([](void*, const char*, const char*, unsigned) { return kIdOk; });
  const bool change = size > 0 && (data[size - 1] & 1) != 0;
  for (RecordKind kind : {RecordKind::TextNote, RecordKind::PhotoAlbum, RecordKind::TimeNotif,
                          RecordKind::EmailRes, RecordKind::FastText}) {
    // Each kind sees the input as given, not as an earlier kind left it.
    if (!WriteScratch(data, size)) break;
    Exercise(kind, change);
  }
  std::remove(ScratchPath().c_str());
  return 0;
}
