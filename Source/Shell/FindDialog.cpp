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

#include "Library/CDialogLayout.h"
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
#include "Shell/RegistryStrings.h"

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
// The narrowest the title and the excerpt get when the window is sized.
constexpr int kNarrowestTitle = 60;
constexpr int kNarrowestExcerpt = 80;
constexpr const char* kPlacementValue = "Placement";

struct FindState {
  HWND mainWindow = nullptr;
  std::shared_ptr<BackgroundSearch> search;
  unsigned generation = 0;
  std::vector<SearchHit> hits;
  Clock::time_point started;
  bool firstShown = false;
  CDialogLayout layout;
  int fittedWidth = 0;  // the result list's width the columns were last fitted to
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

// Room for the columns: the list's client width less a vertical scroll bar.
int ColumnRoom(const CListView& results) {
  RECT client = {};
  GetClientRect(results.GetWindow(), &client);
  return client.right - GetSystemMetrics(SM_CXVSCROLL);
}

// The title takes a third of what the list gained or lost, the excerpt the
// rest; the place column keeps its width, and so do widths the user set
// except for what the window's size changes.
void FitColumns(HWND dialog, FindState& state) {
  const CListView results = ResultsOf(dialog);
  HWND list = results.GetWindow();
  const int room = ColumnRoom(results);
  if (state.fittedWidth == 0 || room == state.fittedWidth) return;
  int title = ListView_GetColumnWidth(list, 0) + (room - state.fittedWidth) / 3;
  if (title < kNarrowestTitle) title = kNarrowestTitle;
  int excerpt = room - title - ListView_GetColumnWidth(list, 1);
  if (excerpt < kNarrowestExcerpt) excerpt = kNarrowestExcerpt;
  ListView_SetColumnWidth(list, 0, title);
  ListView_SetColumnWidth(list, 2, excerpt);
  state.fittedWidth = room;
}

// The size and place the window had when it was last closed, when they are
// still sensible (not below the smallest size, on a monitor there is now).
void RestorePlacement(HWND dialog, const FindState& state) {
  char text[kRegistryStringSize] = {};
  if (!ReadRegistryString(kFindWindowKey, kPlacementValue, text)) return;
  RECT rect = {};
  if (std::sscanf(text, "%ld %ld %ld %ld", &rect.left, &rect.top, &rect.right, &rect.bottom) != 4) return;
  const SIZE smallest = state.layout.MinimumSize();
  if (rect.right - rect.left < smallest.cx || rect.bottom - rect.top < smallest.cy) return;
  if (rect.right - rect.left > 16384 || rect.bottom - rect.top > 16384) return;
  if (MonitorFromRect(&rect, MONITOR_DEFAULTTONULL) == nullptr) return;
  WINDOWPLACEMENT placement = {};
  placement.length = sizeof placement;
  if (!GetWindowPlacement(dialog, &placement)) return;
  placement.showCmd = SW_HIDE;
  placement.rcNormalPosition = rect;
  SetWindowPlacement(dialog, &placement);
}

void SavePlacement(HWND dialog) {
  WINDOWPLACEMENT placement = {};
  placement.length = sizeof placement;
  if (!GetWindowPlacement(dialog, &placement)) return;
  const RECT& rect = placement.rcNormalPosition;
  char text[64];
  std::snprintf(text, sizeof text, "%ld %ld %ld %ld", rect.left, rect.top, rect.right, rect.bottom);
  WriteRegistryString(kFindWindowKey, kPlacementValue, text);
}

// The size grip in the corner, below the buttons.
void AddSizeGrip(HWND dialog) {
  RECT client = {};
  GetClientRect(dialog, &client);
  const int width = GetSystemMetrics(SM_CXVSCROLL), height = GetSystemMetrics(SM_CYHSCROLL);
  CreateWindowExA(0, "SCROLLBAR", "", WS_CHILD | WS_VISIBLE | SBS_SIZEGRIP, client.right - width,
                  client.bottom - height, width, height, dialog,
                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_FIND_GRIP)), gApp.GetInstance(), nullptr);
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
  state->fittedWidth = ColumnRoom(results);
  AddSizeGrip(dialog);
  CDialogLayout& layout = state->layout;
  layout.Attach(dialog);
  layout.Add(IDC_FIND_TEXT, CDialogLayout::kGrowX);
  layout.Add(IDC_FIND_RESULTS, CDialogLayout::kGrowX | CDialogLayout::kGrowY);
  layout.Add(IDC_FIND_COUNT, CDialogLayout::kMoveY | CDialogLayout::kGrowX);
  for (int id : {IDOK, IDCANCEL, IDC_FIND_GRIP}) layout.Add(id, CDialogLayout::kMoveX | CDialogLayout::kMoveY);
  RestorePlacement(dialog, *state);
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
    case WM_SIZE:
      if (wParam == SIZE_MINIMIZED) return FALSE;
      state->layout.Apply();
      // A maximized window cannot be sized from its corner.
      ShowWindow(GetDlgItem(dialog, IDC_FIND_GRIP), wParam == SIZE_MAXIMIZED ? SW_HIDE : SW_SHOW);
      FitColumns(dialog, *state);
      return TRUE;
    case WM_GETMINMAXINFO:
      state->layout.LimitTracking(reinterpret_cast<MINMAXINFO*>(lParam));
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
      SavePlacement(dialog);
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
