// Not a test: how long ShowRecords takes to fill the real record list from a
// store of 10,000 text notes, and the process's peak memory. Figures only,
// no assertions; run with scripts/bench-wine.sh.
#include <windows.h>

#include <psapi.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "ManagerTestWindow.h"
#include "Support/MessagePump.h"
#include "Managers/KindManager.h"
#include "Records/DataFolders.h"
#include "Records/DatabaseObject.h"
#include "Records/MessageBoxSeam.h"
#include "Records/RecordText.h"

namespace {

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void FillStore(int count) {
  auto store = OpenStore<DatabaseDataTextNote>();
  for (int i = 0; i < count; ++i) {
    DatabaseDataTextNote& note = store->Data();
    CopyRecordText(note.date, "09:05:03 12/02/2003");
    CopyRecordText(note.title, ("Benchmark note " + std::to_string(i)).c_str());
    note.noteType = i % 2;
    CopyRecordText(note.fileName, ("TextNote" + std::to_string(i) + ".doc").c_str());
    note.ownAddress = 0;
    store->AddRecord();
  }
  CloseStore(store);
}

}  // namespace

int main(int argc, char** argv) {
  const int count = argc > 1 ? std::atoi(argv[1]) : 10000;
  const int runs = argc > 2 ? std::atoi(argv[2]) : 3;
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("qm-bench-" + std::to_string(GetCurrentProcessId()));
  std::filesystem::create_directories(folder);
  int answer = 0;
  {
    ScopedApplicationDataFolder appData(folder.string());
    ScopedMessageBoxScript boxes([&answer](void*, const char* text, const char*, unsigned) {
      std::printf("unexpected message box: %s\n", text);
      return ++answer, kIdOk;
    });
    MakeDataFolders();

    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    FillStore(count);
    QueryPerformanceCounter(&end);
    std::printf(
        "store of %d text notes written in %.3f s (%llu bytes)\n", count, Seconds(start, end),
        static_cast<unsigned long long>(std::filesystem::file_size(StoreFilePath(RecordKind::TextNote))));

    // The store walk alone, for telling the list's share from the store's.
    QueryPerformanceCounter(&start);
    int walked = 0;
    {
      auto store = OpenStore<DatabaseDataTextNote>();
      store->ForEachRecordOf([&walked](const DatabaseDataTextNote&, std::uint32_t) { ++walked; });
      CloseStore(store);
    }
    QueryPerformanceCounter(&end);
    std::printf("store walk alone: %.3f s, %d records\n", Seconds(start, end), walked);

    ManagerTestWindow window;
    for (int run = 1; run <= runs; ++run) {
      QueryPerformanceCounter(&start);
      bool shown = ShowRecords(RecordKind::TextNote, window.Handle());
      QueryPerformanceCounter(&end);
      int rows = ListView_GetItemCount(window.RecordList());
      std::printf("ShowRecords run %d: %.3f s, %d rows%s\n", run, Seconds(start, end), rows,
                  shown ? "" : " (show failed)");
      qmtest::PumpMessages();
    }

    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory)) {
      std::printf("peak working set %.1f MB, peak pagefile usage %.1f MB\n",
                  memory.PeakWorkingSetSize / 1048576.0, memory.PeakPagefileUsage / 1048576.0);
    }
  }
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
  return 0;
}
