// MainWindowNotify: each notification goes to a small handler.
#include "Shell/MainWindowNotify.h"

#include "Library/CListView.h"
#include "Managers/KindManager.h"
#include "Resources/MainWindowIds.h"
#include "Shell/CommandRouter.h"
#include "Shell/KindCommands.h"
#include "Shell/MainWindowLayout.h"
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

}  // namespace

LRESULT OnMainWindowNotify(HWND window, NMHDR* header) {
  if (!header) return 0;
  switch (header->code) {
    case RBN_ENDDRAG:
      RelayOutMainWindow(window);
      return 0;
    case TTN_NEEDTEXTA:
    case TTN_NEEDTEXTW:
      SupplyToolbarTooltip(header);
      return 0;
    case NM_RCLICK:
      if (header->idFrom == ID_RECORD_LIST) ShowRecordContextMenu(window);
      return 0;
    case NM_DBLCLK:
      if (header->idFrom == ID_RECORD_LIST) OnRecordListDoubleClick(window);
      if (header->idFrom == ID_MANAGER_LIST) OnManagerListDoubleClick(window);
      return 0;
    default:
      return 0;
  }
}
