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

namespace {

// Below the focused row's text, scrolled into view first, in screen
// coordinates.
POINT FocusedRowPoint(const CListView& records, int row) {
  records.EnsureVisible(row, false);
  RECT label = {};
  label.left = LVIR_LABEL;
  records.Send(LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&label));
  POINT point = {label.left, label.bottom};
  ClientToScreen(records.GetWindow(), &point);
  return point;
}

}  // namespace

bool ShowRecordContextMenu(HWND window, MenuPlace place) {
  CListView records = RecordListOfWindow(window);
  const int focused = records.GetFocusedItem();
  if (focused < 0) return false;

  HMENU menu = LoadMenuA(gApp.GetResourceInstance(), MAKEINTRESOURCEA(IDR_TEXT_NOTE_MENU + CurrentKind()));
  if (!menu) return false;
  HMENU popup = GetSubMenu(menu, 0);
  if (popup) {
    SetMenuDefaultItem(popup, static_cast<UINT>(-1), TRUE);
    POINT at = {};
    if (place == MenuPlace::FocusedRow) {
      at = FocusedRowPoint(records, focused);
    } else {
      GetCursorPos(&at);
    }
    SetForegroundWindow(records.GetWindow());
    gTrackPopupMenu(popup, TPM_LEFTALIGN | TPM_LEFTBUTTON, at.x, at.y, 0, window, nullptr);
    SetForegroundWindow(records.GetWindow());
  }
  DestroyMenu(menu);
  return popup != nullptr;
}
