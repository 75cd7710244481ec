// Not a test: ShowRecords filling the real record list from a store of
// 10,000 text notes, side by side in one process with a bare fill of a
// plain list view of the same style, size and columns with the same rows
// (insert the item, set its sub-item texts, redraw held), in interleaved
// rounds; prints the medians and their
// ratio, the store walk alone, and the process's peak memory. Figures only,
// no assertions; run with scripts/bench-wine.sh.
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "ManagerTestWindow.h"
#include "Support/MessagePump.h"
#include "Managers/KindDescription.h"
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

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// The rows as ShowRecords shows them: the date, then the kind's sub-items.
struct Row {
  std::vector<std::string> texts;
  std::uint32_t address;
};

std::vector<Row> ReadRows() {
  std::vector<Row> rows;
  auto store = OpenStore<DatabaseDataTextNote>();
  const KindDescription& description = KindDescriptionOf(RecordKind::TextNote);
  store->ForEachRecord([&](std::uint32_t address) {
    RowTexts texts;
    texts.Add(store->Data().date);
    description.rowTexts(store->RecordBytes(), texts);
    Row row;
    for (int i = 0; i < texts.Count(); ++i) row.texts.push_back(texts[i]);
    row.address = address;
    rows.push_back(std::move(row));
  });
  CloseStore(store);
  return rows;
}

// The least a program can do to show those rows in this list view.
void BareFill(HWND list, const std::vector<Row>& rows) {
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  int index = 0;
  for (const Row& row : rows) {
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = index;
    item.pszText = const_cast<char*>(row.texts[0].c_str());
    item.lParam = static_cast<LPARAM>(row.address);
    index = static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    for (std::size_t i = 1; i < row.texts.size(); ++i) {
      LVITEMA cell = {};
      cell.iSubItem = static_cast<int>(i);
      cell.pszText = const_cast<char*>(row.texts[i].c_str());
      SendMessageA(list, LVM_SETITEMTEXTA, index, reinterpret_cast<LPARAM>(&cell));
    }
    ++index;
  }
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
}

// A plain list view beside the record list, of its style, size and columns:
// the peer of the record list, which carries the program's type-ahead.
HWND CreateBareListLike(HWND list) {
  RECT place = {};
  GetWindowRect(list, &place);
  MapWindowPoints(nullptr, GetParent(list), reinterpret_cast<POINT*>(&place), 2);
  HWND bare = CreateWindowExA(static_cast<DWORD>(GetWindowLongA(list, GWL_EXSTYLE)), WC_LISTVIEWA, "",
                              static_cast<DWORD>(GetWindowLongA(list, GWL_STYLE)), place.left, place.top,
                              place.right - place.left, place.bottom - place.top, GetParent(list), nullptr,
                              nullptr, nullptr);
  ListView_SetExtendedListViewStyle(bare, ListView_GetExtendedListViewStyle(list));
  char title[64];
  LVCOLUMNA column = {};
  column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
  column.pszText = title;
  column.cchTextMax = sizeof title;
  for (int i = 0; SendMessageA(list, LVM_GETCOLUMNA, i, reinterpret_cast<LPARAM>(&column)); ++i) {
    SendMessageA(bare, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
  }
  return bare;
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

// "syscalls add|walk <count>": that phase alone, after a line "ready", so
// that strace can count the Linux system calls Wine makes for it.
void SyscallPhase(const std::string& phase, int count) {
  if (phase == "walk") FillStore(count);
  std::printf("ready\n");
  std::fflush(stdout);
  if (phase == "walk") {
    auto store = OpenStore<DatabaseDataTextNote>();
    store->ForEachRecordOf([](const DatabaseDataTextNote&, std::uint32_t) {});
    CloseStore(store);
  } else {
    FillStore(count);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const bool syscalls = argc > 3 && std::string(argv[1]) == "syscalls";
  const int count = syscalls ? std::atoi(argv[3]) : argc > 1 ? std::atoi(argv[1]) : 10000;
  const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
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
    if (syscalls) {
      SyscallPhase(argv[2], count);
      std::error_code ignored;
      std::filesystem::remove_all(folder, ignored);
      return 0;
    }

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
    const std::vector<Row> rows = ReadRows();
    HWND list = window.RecordList();
    HWND bareList = nullptr;
    std::vector<double> showTimes, bareTimes;
    for (int run = 1; run <= runs; ++run) {
      // Both start from an empty list with the text notes' columns.
      ListView_DeleteAllItems(list);
      qmtest::PumpMessages();
      QueryPerformanceCounter(&start);
      bool shown = ShowRecords(RecordKind::TextNote, window.Handle());
      QueryPerformanceCounter(&end);
      showTimes.push_back(Seconds(start, end));
      const int shownRows = ListView_GetItemCount(list);
      qmtest::PumpMessages();

      // The bare list gets the columns the first show set up.
      if (bareList == nullptr) bareList = CreateBareListLike(list);
      ListView_DeleteAllItems(bareList);
      qmtest::PumpMessages();
      QueryPerformanceCounter(&start);
      BareFill(bareList, rows);
      QueryPerformanceCounter(&end);
      bareTimes.push_back(Seconds(start, end));
      std::printf("round %d: ShowRecords %.3f s (%d rows%s), bare list-view fill %.3f s (%d rows)\n", run,
                  showTimes.back(), shownRows, shown ? "" : ", show failed", bareTimes.back(),
                  ListView_GetItemCount(bareList));
      qmtest::PumpMessages();
    }
    const double show = Median(showTimes);
    const double bare = Median(bareTimes);
    std::printf("median of %d interleaved rounds: ShowRecords %.3f s, bare fill %.3f s, ratio %.2fx\n", runs,
                show, bare, show / bare);

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
