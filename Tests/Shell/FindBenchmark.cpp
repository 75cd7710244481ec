// Not a test: figures of the record list and the Find window under Wine, in
// the real main window: sorting 10,000 e-mail resources by each column and
// back, a type-ahead jump among them, and a search through the Find window
// over them and 2,000 text notes with bodies of 20 KB (the word in 1 % of the
// records), from the end of the typing pause to the first hits shown and to
// the end (scripts/bench-wine.sh; FindBenchmark.exe [records] [rounds]).
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "Library/CSplitter.h"
#include "Library/CWinApp.h"
#include "Managers/KindManager.h"
#include "Managers/RecordListOrder.h"
#include "Records/DataFolders.h"
#include "Resources/FindDialogIds.h"
#include "Resources/MainWindowIds.h"
#include "Shell/FindDialog.h"
#include "Shell/MainWindow.h"
#include "Support/DataFolderWriter.h"
#include "Support/MessagePump.h"
#include "Support/ScratchFolder.h"

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

int CALLBACK CompareParameters(LPARAM a, LPARAM b, LPARAM) {
  return a < b ? -1 : a > b ? 1 : 0;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

std::string NoteBody(int index, bool withWord) {
  std::string body = "{\\rtf1\\ansi{\\fonttbl{\\f0 Tahoma;}}\\pard\\f0\\fs20 ";
  while (body.size() < 20 * 1024) {
    body += "Meeting about the {\\b garden} budget on Monday, r\\'e9sum\\'e9 ";
    body += std::to_string(index);
    body += "\\par\r\n";
    if (withWord && body.size() > 10000 && body.find("quagga") == std::string::npos) body += "a quagga ";
  }
  return body + "}";
}

void MakeData(const std::string& folder, int records) {
  qmtest::DataFolderWriter writer(folder);
  for (int i = 0; i < records; ++i) {
    const std::string n = std::to_string((i * 7919) % records);
    writer.Add(RecordKind::EmailRes, {{"name", (i % 3 ? "Person " : "person ") + n},
                                      {"email", "p" + n + "@example.org"},
                                      {"comment", i % 100 == 0 ? "keeps a quagga" : "met at the fair"}});
  }
  for (int i = 0; i < 2000; ++i) {
    const std::string name = "TextNote" + std::to_string(i) + ".doc";
    writer.WriteAttachment(RecordKind::TextNote, name, NoteBody(i, i % 100 == 0));
    writer.Add(RecordKind::TextNote, {{"title", "Note " + std::to_string(i)}, {"file_name", name}});
  }
}

}  // namespace

int main(int argc, char** argv) {
  const int records = argc > 1 ? std::max(100, std::atoi(argv[1])) : 10000;
  const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES | ICC_COOL_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  HINSTANCE instance = GetModuleHandleA(nullptr);
  gApp.SetInstance(instance);
  qmtest::ScratchFolder scratch("qm-find-bench");
  ScopedApplicationDataFolder appData(scratch.Path().string());
  MakeDataFolders();
  MakeData(gDataFolder, records);

  MainWindowClass(instance).Register();
  CSplitter::RegisterBarClass(instance);
  HWND window = CreateMainWindow(instance);
  SetWindowPos(window, nullptr, 0, 0, 900, 600, SWP_NOZORDER);
  ShowWindow(window, SW_SHOW);
  qmtest::PumpMessages();

  auto start = Clock::now();
  ShowRecords(RecordKind::EmailRes, window);
  const double show = Milliseconds(start);
  std::vector<double> sortTimes[3];
  for (int round = 0; round < rounds; ++round) {
    for (int column = 0; column < 3; ++column) {
      start = Clock::now();
      SortRecordListByColumn(window, column);
      sortTimes[column].push_back(Milliseconds(start));
    }
  }
  HWND list = GetDlgItem(window, ID_RECORD_LIST);
  // Where a sort's time goes: reading the rows' texts, comparing them, and
  // the list view's own sort with a trivial comparison.
  {
    char text[256];
    start = Clock::now();
    std::vector<std::string> texts;
    for (int row = 0; row < records; ++row) {
      LVITEMA cell = {};
      cell.iSubItem = 1;
      cell.pszText = text;
      cell.cchTextMax = sizeof text;
      SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&cell));
      texts.push_back(text);
    }
    const double read = Milliseconds(start);
    start = Clock::now();
    wchar_t wide[256];
    for (int row = 0; row < records; ++row) {
      LVITEMW cell = {};
      cell.iSubItem = 1;
      cell.pszText = wide;
      cell.cchTextMax = 256;
      SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&cell));
    }
    const double readWide = Milliseconds(start);
    start = Clock::now();
    LPARAM sum = 0;
    for (int row = 0; row < records; ++row) {
      LVITEMA item = {};
      item.mask = LVIF_PARAM;
      item.iItem = row;
      SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
      sum += item.lParam;
    }
    const double readParams = Milliseconds(start);
    std::printf("reading wide texts %.1f ms, parameters %.1f ms (%ld)\n", readWide, readParams, static_cast<long>(sum & 1));
    start = Clock::now();
    std::stable_sort(texts.begin(), texts.end(),
                     [](const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) < 0; });
    const double compare = Milliseconds(start);
    start = Clock::now();
    ListView_SortItems(list, CompareParameters, 0);
    const double sort = Milliseconds(start);
    std::printf("a sort's parts: reading %d texts %.1f ms, sorting them with lstrcmpiA %.1f ms, "
                "the list view's sort %.1f ms\n", records, read, compare, sort);
  }
  std::vector<double> typeAhead;
  for (int round = 0; round < rounds; ++round) {
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_SetItemState(list, 0, LVIS_FOCUSED, LVIS_FOCUSED);
    SetFocus(list);
    start = Clock::now();
    // Eight letters, each a search of the rows from the focused one.
    for (const char c : std::string("person 9")) PostMessageA(list, WM_CHAR, static_cast<unsigned char>(c), 1);
    qmtest::PumpMessages();
    typeAhead.push_back(Milliseconds(start));
    Sleep(1100);  // the next round begins a new prefix
  }
  std::printf("record list under Wine, %d rows (show %.0f ms): sort by date %.1f ms, by name %.1f ms, "
              "by e-mail %.1f ms; type-ahead over the rows %.1f ms (medians of %d)\n",
              records, show, Median(sortTimes[0]), Median(sortTimes[1]), Median(sortTimes[2]), Median(typeAhead),
              rounds);

  SendMessageA(window, WM_COMMAND, IDM_FIND, 0);
  HWND find = OpenFindDialog();
  std::vector<double> first, done;
  for (int round = 0; round < rounds + 1; ++round) {
    SetDlgItemTextA(find, IDC_FIND_TEXT, round % 2 ? "QUAGGA" : "quagga");
    // The pause ends: its timer's message, as the dialog would get it.
    SendMessageA(find, WM_TIMER, 1, 0);
    qmtest::PumpUntil([] { return LastFindTimings().done >= 0; }, 60000);
    if (round == 0) continue;  // the page cache warms
    first.push_back(LastFindTimings().firstHits);
    done.push_back(LastFindTimings().done);
  }
  char count[200] = {};
  GetDlgItemTextA(find, IDC_FIND_COUNT, count, sizeof count);
  std::printf("Find under Wine over %d e-mail resources and 2,000 notes of 20 KB: first hits shown %.1f ms, "
              "all %.1f ms after the typing pause (medians of %d; %s)\n",
              records, Median(first), Median(done), rounds, count);
  DestroyWindow(window);
  return 0;
}
