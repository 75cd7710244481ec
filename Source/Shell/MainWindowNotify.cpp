// MainWindowNotify: each notification goes to a small handler.
#include "Shell/MainWindowNotify.h"

#include "Library/CListView.h"
#include "Managers/KindManager.h"
#include "Managers/RecordListOrder.h"
#include "Records/MessageBoxSeam.h"
#include "Resources/MainWindowIds.h"
#include "Shell/CommandRouter.h"
#include "Shell/KindCommands.h"
#include "Shell/MainWindowLayout.h"
#include "Shell/RebarChevron.h"
#include "Shell/RecordColumns.h"
#include "Shell/RecordContextMenu.h"
#include "Shell/ToolbarTooltips.h"

#include <commctrl.h>

namespace {

void OnRecordListDoubleClick(HWND window) {
  if (RecordListOfWindow(window).GetFocusedItem() < 0) return;
  if (const KindCommands* kind = KindCommandsAt(CurrentKind())) RouteCommand(window, kind->editCommand);
}

void OnManagerListDoubleClick(HWND window) {
  const int entry = CListView(window, ID_MANAGER_LIST).GetFocusedItem();
  if (const KindCommands* kind = KindCommandsAt(entry)) RouteCommand(window, kind->showCommand);
}

// A click or an arrow key that selects a manager shows its kind. Showing a
// kind selects its entry too (the managers do that), which arrives here for
// the kind already current and does nothing.
void OnManagerSelected(HWND window, const NMLISTVIEW& change) {
  if ((change.uChanged & LVIF_STATE) == 0) return;
  if ((change.uNewState & LVIS_SELECTED) == 0 || (change.uOldState & LVIS_SELECTED) != 0) return;
  if (change.iItem == CurrentKind()) return;
  if (const KindCommands* kind = KindCommandsAt(change.iItem)) RouteCommand(window, kind->showCommand);
  // Not shown (a store is held open by an action waiting in a box): the
  // highlight goes back to the kind on display.
  if (change.iItem != CurrentKind()) {
    ListView_SetItemState(change.hdr.hwndFrom, CurrentKind(), LVIS_SELECTED | LVIS_FOCUSED,
                          LVIS_SELECTED | LVIS_FOCUSED);
  }
}

// The Delete key deletes the selected records, after the question that
// every delete route asks.
void OnRecordListDeleteKey(HWND window) {
  if (const KindCommands* kind = KindCommandsAt(CurrentKind())) RouteCommand(window, kind->deleteCommand);
}

// A list that takes the focus (Tab, a click, coming back from a box) has a
// focused row, so Enter, Delete and the Menu key act at once: the one
// focused before, or else the first.
void OnRecordListFocus(HWND window) {
  CListView records = RecordListOfWindow(window);
  if (records.GetItemCount() == 0) return;
  int row = records.GetFocusedItem();
  if (row < 0) {
    row = 0;
    records.SetItemState(row, LVIS_FOCUSED, LVIS_FOCUSED);
  }
  if (records.GetSelectedCount() == 0) records.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
  records.EnsureVisible(row, false);
}

// A divider dragged by the user: the kind's widths are the user's from now
// on. The track's end carries the new width before the header applies it.
void OnColumnDragged(HWND window, const NMHEADERA& drag) {
  if (drag.pitem == nullptr || (drag.pitem->mask & HDI_WIDTH) == 0) return;
  HWND list = RecordListOfWindow(window).GetWindow();
  if (list == nullptr || GetParent(drag.hdr.hwndFrom) != list) return;
  ListView_SetColumnWidth(list, drag.iItem, drag.pitem->cxy);
  RememberRecordColumns(window);
}

void OnListKey(HWND window, const NMLVKEYDOWN& key) {
  if (key.hdr.idFrom == ID_RECORD_LIST && key.wVKey == VK_DELETE) OnRecordListDeleteKey(window);
}

// Enter does what a double click does, in either list.
void OnListReturn(HWND window, UINT_PTR listId) {
  if (listId == ID_RECORD_LIST) OnRecordListDoubleClick(window);
  if (listId == ID_MANAGER_LIST) OnManagerListDoubleClick(window);
}

}  // namespace

LRESULT OnMainWindowNotify(HWND window, NMHDR* header) {
  if (!header) return 0;
  switch (header->code) {
    case RBN_ENDDRAG:
      RelayOutMainWindow(window);
      return 0;
    case RBN_CHEVRONPUSHED:
      ShowChevronMenu(window, *reinterpret_cast<NMREBARCHEVRON*>(header));
      return 0;
    case TTN_NEEDTEXTA:
    case TTN_NEEDTEXTW:
      SupplyToolbarTooltip(header);
      return 0;
    case NM_RCLICK:
      if (header->idFrom == ID_RECORD_LIST) ShowRecordContextMenu(window);
      return 0;
    case LVN_ITEMCHANGED:
      if (header->idFrom == ID_MANAGER_LIST) OnManagerSelected(window, *reinterpret_cast<NMLISTVIEW*>(header));
      return 0;
    case LVN_COLUMNCLICK:
      if (header->idFrom == ID_RECORD_LIST)
        SortRecordListByColumn(window, reinterpret_cast<NMLISTVIEW*>(header)->iSubItem);
      return 0;
    case LVN_KEYDOWN:
      OnListKey(window, *reinterpret_cast<NMLVKEYDOWN*>(header));
      return 0;
    case HDN_ENDTRACKA:
    case HDN_ENDTRACKW:
      OnColumnDragged(window, *reinterpret_cast<NMHEADERA*>(header));
      return 0;
    case NM_SETFOCUS:
      if (header->idFrom == ID_RECORD_LIST) OnRecordListFocus(window);
      return 0;
    case NM_RETURN:
      OnListReturn(window, header->idFrom);
      return 0;
    case NM_DBLCLK:
      if (header->idFrom == ID_RECORD_LIST) OnRecordListDoubleClick(window);
      if (header->idFrom == ID_MANAGER_LIST) OnManagerListDoubleClick(window);
      return 0;
    default:
      return 0;
  }
}
