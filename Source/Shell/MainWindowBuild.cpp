// MainWindowBuild: the main window's creation, in the order the controls
// depend on each other (the splitter before its panes, the status bar before
// the progress bar in it, the toolbars before the managers fill one), and
// its destruction.
#include "Shell/MainWindowBuild.h"

#include "Library/CSplitter.h"
#include "Managers/KindManager.h"
#include "Managers/RecordListOrder.h"
#include "Records/MessageBoxSeam.h"
#include "Resources/MainWindowIds.h"
#include "Shell/BandToggles.h"
#include "Shell/MainImageLists.h"
#include "Shell/MainWindow.h"
#include "Shell/MainWindowControls.h"
#include "Shell/MainWindowLayout.h"
#include "Shell/MessageBoxOwner.h"
#include "Shell/RecordColumns.h"
#include "Shell/Reminders.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

namespace {

// The main windows whose controls are made, or being made. Asked at every
// message the window gets, so kept here rather than as a window property,
// which costs a call into the window system each time.
std::vector<HWND>& WindowsWithControls() {
  static std::vector<HWND> windows;
  return windows;
}

void StartNotificationTimer(HWND window) {
  // Without the timer the program runs on, only without reminders.
  if (!SetTimer(window, kNotificationTimerId, kNotificationTimerPeriod, nullptr)) {
    ShowMessageBox(window, "Could not SetTimer()!", "Error", kMbOk | kMbIconWarning);
  }
}

}  // namespace

bool BuildMainWindow(HWND window, bool withControls) {
  InstallMessageBoxOwner(window);
  StartNotificationTimer(window);
  return !withControls || HasMainWindowControls(window) || BuildMainWindowControls(window);
}

bool BuildMainWindowControls(HWND window) {
  // Marked first: from here on the window counts as having its controls, so
  // what the controls send while they are made builds nothing again.
  if (!HasMainWindowControls(window)) WindowsWithControls().push_back(window);
  CSplitter* splitter = new CSplitter(window);
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(splitter));

  HWND managers = CreateManagerList(window);
  if (!managers) return false;
  splitter->SetPanes(managers, nullptr);
  splitter->SetMinimumLeftWidth(ManagerListWidth(managers, 1));
  splitter->SetPreferredLeftWidth(ManagerListWidth(managers, 2));

  if (!CreateMainStatusBar(window)) return false;
  if (!CreateMainRebar(window)) return false;
  CheckBandToggles(window);
  // Laid out before the lists fill: the managers are arranged once, at the
  // list's width, a record list that gets its columns at its own width
  // needs no fitting again, and the show moves nothing. The record list is
  // made after the layout, where it belongs: moved there, it and its header
  // would lay themselves out once more.
  LayOutHiddenMainWindow(window);
  HWND records = CreateRecordList(window, managers, splitter->RightPaneRect());
  if (!records) return false;
  splitter->SetPanes(managers, records);
  FillManagerList(window);

  // A new window lists every kind in file order until a header is clicked.
  ResetRecordListOrders();
  SetColumnWidthsHook(RecordColumnWidths);
  // The text notes are current at start.
  ShowRecords(RecordKind::TextNote, window);
  return true;
}

void TearDownMainWindow(HWND window) {
  RemoveMessageBoxOwner(window);
  std::vector<HWND>& windows = WindowsWithControls();
  windows.erase(std::remove(windows.begin(), windows.end(), window), windows.end());
  // Their records stay stored: they show again at the next start.
  CloseReminders();
  CSplitter* splitter = SplitterOf(window);
  SetWindowLongPtrA(window, GWLP_USERDATA, 0);
  delete splitter;
  // A list view without LVS_SHAREIMAGELISTS destroys its image lists when it
  // is destroyed, which happens after this handler: the manager list lets
  // go of them here so that each list is destroyed exactly once.
  if (HWND managers = GetDlgItem(window, ID_MANAGER_LIST)) {
    SendMessageA(managers, LVM_SETIMAGELIST, LVSIL_NORMAL, 0);
    SendMessageA(managers, LVM_SETIMAGELIST, LVSIL_SMALL, 0);
  }
  DestroyMainImageLists();
  KillTimer(window, kNotificationTimerId);
  PostQuitMessage(0);
}

bool HasMainWindowControls(HWND window) {
  const std::vector<HWND>& windows = WindowsWithControls();
  return std::find(windows.begin(), windows.end(), window) != windows.end();
}

bool NeedsMainWindowControls(UINT message, WPARAM wParam) {
  switch (message) {
    // Made, moved, sized, named, hidden and ended: nothing of that needs
    // the controls, which are laid out when they are made.
    case WM_NCCREATE:
    case WM_CREATE:
    case WM_NCCALCSIZE:
    case WM_GETMINMAXINFO:
    case WM_WINDOWPOSCHANGING:
    case WM_WINDOWPOSCHANGED:
    case WM_MOVE:
    case WM_SIZE:
    case WM_GETICON:
    case WM_SETICON:
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
    case WM_SETTEXT:
    case WM_STYLECHANGING:
    case WM_STYLECHANGED:
    case WM_GETOBJECT:
    case WM_NULL:
    // Going to the tray (the window becomes a child of a hidden holder)
    // passes the activation around, which needs no controls either.
    case WM_ACTIVATEAPP:
    case WM_NCACTIVATE:
    case WM_ACTIVATE:
    case WM_CHILDACTIVATE:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_QUERYNEWPALETTE:
    case WM_PALETTECHANGED:
    case WM_IME_SETCONTEXT:
    case WM_IME_NOTIFY:
    case WM_IME_SELECT:
    case WM_DESTROY:
    case WM_NCDESTROY:
      return false;
    case WM_SHOWWINDOW:
      return wParam != FALSE;
    default:
      return true;
  }
}

CSplitter* SplitterOf(HWND window) {
  return reinterpret_cast<CSplitter*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}
