// What a store pays per record: 10,000 text-note-sized objects added as the
// stores add them (allocate, write flushed and verified, checksum), then one
// heap walk that verifies every object's CRC.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "Database/gxDatabase.h"

namespace {

constexpr std::uint32_t kObjectLength = 773;
constexpr int kObjectCount = 10000;

std::string ScratchFile(const char* name) {
  std::random_device random;
  return (std::filesystem::temp_directory_path() /
          (std::string("qm-bench-") + name + "-" + std::to_string(random()) + ".qmt"))
      .string();
}

std::vector<unsigned char> Object(int index) {
  std::vector<unsigned char> object(kObjectLength);
  for (std::uint32_t i = 0; i < kObjectLength; ++i) object[i] = static_cast<unsigned char>(index * 13 + i);
  return object;
}

bool AddObjects(gxDatabase& db, int count) {
  for (int i = 0; i < count; ++i) {
    const std::vector<unsigned char> object = Object(i);
    const std::uint32_t address = db.Allocate(kObjectLength);
    if (address == 0 || db.WriteAt(object.data(), kObjectLength, address, true, true) != 0 ||
        db.StoreChecksum(address) == 0)
      return false;
  }
  return true;
}

void BM_AddTextNotes(benchmark::State& state) {
  const std::string path = ScratchFile("add");
  for (auto _ : state) {
    gxDatabase db;
    if (db.Create(path.c_str()) != 0 || !AddObjects(db, kObjectCount)) {
      state.SkipWithError("adding objects failed");
      break;
    }
    db.Close();
  }
  state.SetItemsProcessed(state.iterations() * kObjectCount);
  std::remove(path.c_str());
}
BENCHMARK(BM_AddTextNotes)->Unit(benchmark::kMillisecond);

void BM_WalkAndVerifyTextNotes(benchmark::State& state) {
  const std::string path = ScratchFile("walk");
  {
    gxDatabase db;
    if (db.Create(path.c_str()) != 0 || !AddObjects(db, kObjectCount)) {
      state.SkipWithError("preparing the file failed");
      return;
    }
  }
  for (auto _ : state) {
    gxDatabase db;
    if (db.Open(path.c_str(), 0) != 0) {
      state.SkipWithError("open failed");
      break;
    }
    int verified = 0;
    for (std::uint32_t at = db.NextBlock(0); at != 0;) {
      gxBlockHeader header;
      if (!db.ReadBlockHeader(at, header)) break;
      if ((header.block_status & 0xFFu) == 'N' && db.VerifyChecksum(at + db.BlockHeaderSize())) ++verified;
      at = db.NextBlock(at + header.block_length);
    }
    if (verified != kObjectCount) {
      state.SkipWithError("not every object verified");
      break;
    }
  }
  state.SetItemsProcessed(state.iterations() * kObjectCount);
  std::remove(path.c_str());
}
BENCHMARK(BM_WalkAndVerifyTextNotes)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
