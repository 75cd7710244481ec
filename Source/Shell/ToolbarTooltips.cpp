// ToolbarTooltips: the tooltip control loads the text itself from the
// instance and string id it is given, so nothing is copied here. The A and W
// records differ after the text pointer (their inline buffers differ in
// size), so each is filled through its own type. Only a tool named by a
// command id has a text; one named by its window handle (TTF_IDISHWND) would
// have the handle read as a string id.
#include "Shell/ToolbarTooltips.h"

#include "Library/CWinApp.h"

#include <commctrl.h>

void SupplyToolbarTooltip(NMHDR* header) {
  const UINT_PTR stringId = header->idFrom;
  if (header->code == TTN_NEEDTEXTW) {
    NMTTDISPINFOW* request = reinterpret_cast<NMTTDISPINFOW*>(header);
    if (request->uFlags & TTF_IDISHWND) return;
    request->hinst = gApp.GetResourceInstance();
    request->lpszText = MAKEINTRESOURCEW(stringId);
  } else {
    NMTTDISPINFOA* request = reinterpret_cast<NMTTDISPINFOA*>(header);
    if (request->uFlags & TTF_IDISHWND) return;
    request->hinst = gApp.GetResourceInstance();
    request->lpszText = MAKEINTRESOURCEA(stringId);
  }
}
