// qmdb export of a data folder with 10,000 records of each kind that has no
// attachment (time notifications, e-mail and internet resources): records
// per second through the stores, the format writers and the index. The store
// files are laid down byte by byte beforehand so that only export is timed.
#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "DataExport.h"
#include "Database/gxCrc32.h"
#include "Database/gxDatabase.h"
#include "RecordFields.h"
#include "Records/RecordKind.h"

namespace {

constexpr int kRecordsPerKind = 10000;
const RecordKind kPlainKinds[] = {RecordKind::TimeNotif, RecordKind::EmailRes, RecordKind::InternetRes};

void PutWord(std::string& out, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out += static_cast<char>(value >> (8 * i));
}

// A record whose every text holds some (partly non-ASCII) characters.
std::vector<unsigned char> SampleRecord(const RecordKindInfo& kind, int index) {
  std::vector<unsigned char> record(kind.recordSize, 0);
  RecordFields fields(kind, record.data(), CodePage::Windows1252());
  bool ok;
  for (std::size_t i = 0; i < kind.fieldCount; ++i) {
    const RecordField& field = kind.fields[i];
    if (field.type == RecordFieldType::Text)
      fields.SetText(field.name, std::string(field.name) + " M\xC3\xBCller, #" + std::to_string(index) + "; " +
                                     std::string(40 + index % 60, 'x'), ok);
  }
  fields.SetInteger("type", index % 2);
  fields.SetInteger("resource_type", index % 7);
  if (const RecordField* time = FindRecordField(kind, "time")) {
    const std::uint16_t words[8] = {2027, static_cast<std::uint16_t>(1 + index % 12), 0,
                                    static_cast<std::uint16_t>(1 + index % 28), 9, 30, 0, 0};
    std::memcpy(record.data() + time->offset, words, sizeof words);
  }
  return record;
}

void WriteStore(const std::string& folder, const RecordKindInfo& kind) {
  std::string heap;
  const std::uint32_t blockLength = kind.recordSize + 28 + 4;
  for (int i = 0; i < kRecordsPerKind; ++i) {
    const std::vector<unsigned char> record = SampleRecord(kind, i);
    const gxBlockHeader block{gxCheckWord, blockLength, gxStatusUsed, 0};
    unsigned char header[gxBlockHeaderBytes];
    gxEncodeBlockHeader(block, header);
    heap.append(reinterpret_cast<const char*>(header), sizeof header);
    heap.append(gxLockHeaderBytes, '\0');
    heap.append(reinterpret_cast<const char*>(record.data()), record.size());
    PutWord(heap, gxCrc32(record.data(), record.size()));
  }
  gxFileHeader file{0, static_cast<std::uint32_t>(40 + heap.size()), 40, 40 + (kRecordsPerKind - 1) * blockLength,
                    {'G', 'X', 'D', 'B', 'A', 'S', 'E', 'C'}, gxDatabaseVersion};
  unsigned char header[gxFileHeaderBytes];
  gxEncodeFileHeader(file, header);
  std::ofstream out(folder + "/" + kind.storeName + ".qmt", std::ios::binary);
  out.write(reinterpret_cast<const char*>(header), sizeof header);
  out << std::string(gxLockHeaderBytes, '\0') << heap;
}

void BM_ExportPlainKinds(benchmark::State& state) {
  std::random_device random;
  const std::filesystem::path root =
      std::filesystem::temp_directory_path() / ("qm-bench-export-" + std::to_string(random()));
  const std::string data = (root / "data").string();
  std::filesystem::create_directories(data);
  for (RecordKind kind : kPlainKinds) WriteStore(data, RecordKindInfoOf(kind));
  for (auto _ : state) {
    state.PauseTiming();
    std::filesystem::remove_all(root / "out");
    state.ResumeTiming();
    ExportRequest request;
    request.dataFolder = data;
    request.outFolder = (root / "out").string();
    std::ostringstream out, err;
    if (ExportDataFolder(request, out, err) != 0) {
      state.SkipWithError(("export failed: " + err.str()).c_str());
      break;
    }
  }
  state.SetItemsProcessed(state.iterations() * kRecordsPerKind * 3);
  std::filesystem::remove_all(root);
}
BENCHMARK(BM_ExportPlainKinds)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
