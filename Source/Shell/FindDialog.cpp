// FindDialog: the window's state lives in a small object attached to the
// dialog; the hits of the current run are kept in the order they were shown,
// each row's parameter being its index there.
#include "Shell/FindDialog.h"

#include <commctrl.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "Library/CListView.h"
#include "Library/CModelessDialogs.h"
#include "Library/CWinApp.h"
#include "Managers/CEditorDialog.h"
#include "Managers/KindManager.h"
#include "Managers/ManagerWindows.h"
#include "Records/DataFolders.h"
#include "Records/MessageBoxSeam.h"
#include "Records/RecordStore.h"
#include "Resources/FindDialogIds.h"
#include "Resources/MainWindowIds.h"
#include "Shell/BackgroundSearch.h"
#include "Shell/CommandRouter.h"
#include "Shell/KindCommands.h"
#include "Shell/MainImageLists.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr UINT_PTR kPauseTimer = 1;
HWND gOpenFind = nullptr;
FindTimings gTimings;

struct FindColumn {
  const char* title;
  int width;
};
const FindColumn kColumns[] = {{"Title", 150}, {"Where", 70}, {"Excerpt", 200}};
constexpr int kColumnCount = sizeof kColumns / sizeof kColumns[0];

struct FindState {
  HWND mainWindow = nullptr;
  std::shared_ptr<BackgroundSearch> search;
  unsigned generation = 0;
  std::vector<SearchHit> hits;
  Clock::time_point started;
  bool firstShown = false;
};

FindState* StateOf(HWND dialog) {
  return reinterpret_cast<FindState*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

CListView ResultsOf(HWND dialog) {
  return CListView(dialog, IDC_FIND_RESULTS);
}

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void SetCount(HWND dialog, const std::string& text) {
  SetDlgItemTextA(dialog, IDC_FIND_COUNT, text.c_str());
}

std::string Plural(int count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

std::string CountText(int hits, const SearchTotals* totals) {
  std::string text = hits == 0 && totals ? "No record found" : Plural(hits, "record found", "records found");
  if (!totals) return "Searching... " + text;
  if (totals->damagedRecords > 0) text += "; " + Plural(totals->damagedRecords, "damaged record", "damaged records") + " skipped";
  if (totals->damagedBodies > 0) text += "; " + Plural(totals->damagedBodies, "damaged note", "damaged notes") + " skipped";
  return text + ".";
}

// "title" -> "Title": the record field the hit was found in, or "Body".
std::string WhereText(const std::string& where) {
  std::string text = where;
  if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') text[0] = static_cast<char>(text[0] - 'a' + 'A');
  for (char& c : text) {
    if (c == '_') c = ' ';
  }
  return text;
}

void StopSearch(FindState& state) {
  if (state.search) state.search->Cancel();
  state.search.reset();
  ++state.generation;
}

void StartSearch(HWND dialog, FindState& state) {
  StopSearch(state);
  ResultsOf(dialog).DeleteAllItems();
  state.hits.clear();
  char text[256] = {};
  GetDlgItemTextA(dialog, IDC_FIND_TEXT, text, sizeof text);
  if (std::string(text).find_first_not_of(" \t") == std::string::npos) {
    SetCount(dialog, "");
    return;
  }
  state.started = Clock::now();
  state.firstShown = false;
  gTimings = FindTimings();
  state.search = BackgroundSearch::Start(dialog, state.generation, gDataFolder, text);
  SetCount(dialog, CountText(0, nullptr));
}

void ShowHits(HWND dialog, FindState& state, unsigned generation) {
  if (!state.search || generation != state.generation) return;  // a run given up
  std::vector<SearchHit> hits = state.search->TakeHits();
  const CListView results = ResultsOf(dialog);
  results.Send(WM_SETREDRAW, FALSE);
  for (SearchHit& hit : hits) {
    const int index = static_cast<int>(state.hits.size());
    const std::string title = hit.title.empty() ? "(no title)" : hit.title;
    const int row = results.InsertItem(index, title.c_str(), static_cast<int>(hit.kind), index);
    results.SetItemText(row, 1, WhereText(hit.where).c_str());
    results.SetItemText(row, 2, hit.excerpt.c_str());
    state.hits.push_back(std::move(hit));
  }
  results.Send(WM_SETREDRAW, TRUE);
  InvalidateRect(results.GetWindow(), nullptr, TRUE);
  if (!state.firstShown && !state.hits.empty()) {
    state.firstShown = true;
    gTimings.firstHits = MillisecondsSince(state.started);
  }
  SetCount(dialog, CountText(static_cast<int>(state.hits.size()), nullptr));
}

void EndSearch(HWND dialog, FindState& state, unsigned generation) {
  if (!state.search || generation != state.generation) return;
  ShowHits(dialog, state, generation);  // hits posted just before the end
  const SearchTotals totals = state.search->Totals();
  gTimings.done = MillisecondsSince(state.started);
  state.search.reset();
  SetCount(dialog, CountText(static_cast<int>(state.hits.size()), &totals));
}

// The chosen hit (the focused row, else the first) goes to the main window,
// which opens it once this window's handler has returned.
void OpenChosen(HWND dialog, FindState& state) {
  const CListView results = ResultsOf(dialog);
  int row = results.GetFocusedItem();
  if (row < 0 && results.GetItemCount() > 0) row = 0;
  if (row < 0) return;
  const std::size_t index = static_cast<std::size_t>(results.GetItemParam(row));
  if (index >= state.hits.size()) return;
  const SearchHit& hit = state.hits[index];
  PostMessageA(state.mainWindow, kOpenFoundRecordMessage, static_cast<WPARAM>(hit.kind),
               static_cast<LPARAM>(hit.address));
}

void Initialise(HWND dialog, HWND mainWindow) {
  FindState* state = new FindState;
  state->mainWindow = mainWindow;
  SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(state));
  const CListView results = ResultsOf(dialog);
  results.SetExtendedStyle(LVS_EX_FULLROWSELECT);
  // The excerpt takes the width the other columns and a scroll bar leave.
  RECT client = {};
  GetClientRect(results.GetWindow(), &client);
  int rest = client.right - GetSystemMetrics(SM_CXVSCROLL);
  for (int i = 0; i < kColumnCount; ++i) {
    const int width = i + 1 < kColumnCount ? kColumns[i].width : (rest > kColumns[i].width ? rest : kColumns[i].width);
    results.InsertColumn(i, kColumns[i].title, width);
    rest -= width;
  }
  results.SetImageList(CreateKindPictures(), LVSIL_SMALL);
  SendDlgItemMessageA(dialog, IDC_FIND_TEXT, EM_LIMITTEXT, 254, 0);
  if (HICON icon = reinterpret_cast<HICON>(GetClassLongPtrA(mainWindow, GCLP_HICONSM)))
    SendMessageA(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  CModelessDialogs::Register(dialog);
  SetFocus(GetDlgItem(dialog, IDC_FIND_TEXT));
}

void OnCommand(HWND dialog, FindState& state, int id, int code) {
  switch (id) {
    case IDC_FIND_TEXT:
      if (code != EN_CHANGE) return;
      // The run under way is given up at once; the next starts after the pause.
      StopSearch(state);
      SetTimer(dialog, kPauseTimer, kFindTypingPause, nullptr);
      return;
    case IDOK:
      OpenChosen(dialog, state);
      return;
    case IDCANCEL:
      DestroyWindow(dialog);
      return;
    default:
      return;
  }
}

INT_PTR CALLBACK FindDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    Initialise(dialog, reinterpret_cast<HWND>(lParam));
    return FALSE;  // the focus was set
  }
  FindState* state = StateOf(dialog);
  if (state == nullptr) return FALSE;
  switch (message) {
    case WM_COMMAND:
      OnCommand(dialog, *state, LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case WM_TIMER:
      if (wParam != kPauseTimer) return FALSE;
      KillTimer(dialog, kPauseTimer);
      StartSearch(dialog, *state);
      return TRUE;
    case kSearchHitsMessage:
      ShowHits(dialog, *state, static_cast<unsigned>(wParam));
      return TRUE;
    case kSearchDoneMessage:
      EndSearch(dialog, *state, static_cast<unsigned>(wParam));
      return TRUE;
    case WM_NOTIFY: {
      const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->idFrom != IDC_FIND_RESULTS || header->code != NM_DBLCLK) return FALSE;
      OpenChosen(dialog, *state);
      return TRUE;
    }
    case WM_CLOSE:
      DestroyWindow(dialog);
      return TRUE;
    case WM_DESTROY:
      KillTimer(dialog, kPauseTimer);
      StopSearch(*state);
      CModelessDialogs::Unregister(dialog);
      if (gOpenFind == dialog) gOpenFind = nullptr;
      return TRUE;
    case WM_NCDESTROY:
      SetWindowLongPtrA(dialog, DWLP_USER, 0);
      delete state;
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

HWND OpenFindDialog() {
  return gOpenFind;
}

FindTimings LastFindTimings() {
  return gTimings;
}

HWND ShowFindDialog(HWND mainWindow) {
  if (gOpenFind != nullptr && IsWindow(gOpenFind)) {
    ShowWindow(gOpenFind, SW_SHOW);
    SetForegroundWindow(gOpenFind);
    SetFocus(GetDlgItem(gOpenFind, IDC_FIND_TEXT));
    return gOpenFind;
  }
  HWND dialog = CreateDialogParamA(gApp.GetResourceInstance(), MAKEINTRESOURCEA(IDD_FIND), mainWindow,
                                   FindDialogProc, reinterpret_cast<LPARAM>(mainWindow));
  if (!dialog) {
    const DWORD error = GetLastError();
    char text[64];
    std::snprintf(text, sizeof text, "Error x%lx", static_cast<unsigned long>(error));
    ShowMessageBox(mainWindow, text, "Dialog Box", kMbOk | kMbIconWarning);
    return nullptr;
  }
  gOpenFind = dialog;
  ShowWindow(dialog, SW_SHOW);
  return dialog;
}

void OpenFoundRecord(HWND mainWindow, int kind, std::uint32_t address) {
  const KindCommands* commands = KindCommandsAt(kind);
  if (commands == nullptr || address == 0) return;
  // One editor at a time: the open one comes forward and nothing else opens.
  if (CEditorDialog::BringOpenEditorForward()) return;
  if (RecordStore::LiveCount() > 0) return;  // an action waits in a box
  // The row is shown where the user can see it, also when the main window
  // was hidden in the tray meanwhile.
  if (!IsWindowVisible(mainWindow)) RouteCommand(mainWindow, IDM_RESTORE_FROM_TRAY);
  RouteCommand(mainWindow, commands->showCommand);
  if (CurrentKind() != kind) return;
  const CListView list = RecordListOf(mainWindow);
  const int row = list.FindItemByParam(static_cast<LPARAM>(address));
  if (row < 0) {
    HWND owner = gOpenFind != nullptr ? gOpenFind : mainWindow;
    ShowMessageBox(owner, "This record is no longer there: it was deleted after it was found.", "Find",
                   kMbOk | kMbIconInformation);
    return;
  }
  list.SetItemState(-1, 0, LVIS_SELECTED);
  list.SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  list.EnsureVisible(row, false);
  RouteCommand(mainWindow, commands->editCommand);
}
