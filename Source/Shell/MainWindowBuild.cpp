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
#include "Shell/MessageBoxOwner.h"
#include "Shell/RecordColumns.h"
#include "Shell/Reminders.h"

#include <commctrl.h>

namespace {

void StartNotificationTimer(HWND window) {
  // Without the timer the program runs on, only without reminders.
  if (!SetTimer(window, kNotificationTimerId, kNotificationTimerPeriod, nullptr)) {
    ShowMessageBox(window, "Could not SetTimer()!", "Error", kMbOk | kMbIconWarning);
  }
}

}  // namespace

bool BuildMainWindow(HWND window) {
  InstallMessageBoxOwner(window);
  StartNotificationTimer(window);

  CSplitter* splitter = new CSplitter(window);
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(splitter));

  HWND managers = CreateManagerList(window);
  HWND records = CreateRecordList(window);
  if (!managers || !records) return false;
  splitter->SetPanes(managers, records);
  splitter->SetMinimumLeftWidth(ManagerListMinimumWidth(managers));

  if (!CreateMainStatusBar(window)) return false;
  if (!CreateMainRebar(window)) return false;
  CheckBandToggles(window);

  // A new window lists every kind in file order until a header is clicked.
  ResetRecordListOrders();
  SetColumnsPlacedHook(FitRecordColumns);
  // The text notes are current at start.
  ShowRecords(RecordKind::TextNote, window);
  return true;
}

void TearDownMainWindow(HWND window) {
  RemoveMessageBoxOwner(window);
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

CSplitter* SplitterOf(HWND window) {
  return reinterpret_cast<CSplitter*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}
