// RecordContextMenu: the record list is brought to the foreground before and
// after tracking, so that the menu closes when the user clicks elsewhere.
#include "Shell/RecordContextMenu.h"

#include "Library/CWinApp.h"
#include "Managers/KindManager.h"
#include "Resources/MainWindowIds.h"

PopupMenuTracker gTrackPopupMenu = TrackPopupMenu;

CListView RecordListOfWindow(HWND window) {
  return CListView(window, ID_RECORD_LIST);
}

bool ShowRecordContextMenu(HWND window) {
  CListView records = RecordListOfWindow(window);
  if (records.GetFocusedItem() < 0) return false;

  HMENU menu = LoadMenuA(gApp.GetResourceInstance(), MAKEINTRESOURCEA(IDR_TEXT_NOTE_MENU + CurrentKind()));
  if (!menu) return false;
  HMENU popup = GetSubMenu(menu, 0);
  if (popup) {
    SetMenuDefaultItem(popup, static_cast<UINT>(-1), TRUE);
    POINT cursor = {};
    GetCursorPos(&cursor);
    SetForegroundWindow(records.GetWindow());
    gTrackPopupMenu(popup, TPM_LEFTALIGN | TPM_LEFTBUTTON, cursor.x, cursor.y, 0, window, nullptr);
    SetForegroundWindow(records.GetWindow());
  }
  DestroyMenu(menu);
  return popup != nullptr;
}
