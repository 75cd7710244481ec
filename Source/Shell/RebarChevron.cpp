// RebarChevron: which buttons a band hides is read from the toolbar's item
// rectangles against the chevron's left edge.
#include "Shell/RebarChevron.h"

#include <string>

#include "Shell/RecordContextMenu.h"

namespace {

// The band's child, or null.
HWND BandChild(HWND rebar, UINT band) {
  REBARBANDINFOA info = {};
  info.cbSize = sizeof info;
  info.fMask = RBBIM_CHILD;
  if (!SendMessageA(rebar, RB_GETBANDINFOA, band, reinterpret_cast<LPARAM>(&info))) return nullptr;
  return info.hwndChild;
}

std::string ButtonCaption(HWND toolbar, int command) {
  char text[128] = {};
  const LRESULT length = SendMessageA(toolbar, TB_GETBUTTONTEXTA, command, reinterpret_cast<LPARAM>(text));
  return length > 0 ? std::string(text, static_cast<std::size_t>(length)) : std::string();
}

}  // namespace

bool ShowChevronMenu(HWND window, const NMREBARCHEVRON& chevron) {
  HWND rebar = chevron.hdr.hwndFrom;
  HWND toolbar = BandChild(rebar, chevron.uBand);
  if (toolbar == nullptr) return false;
  // Where the toolbar starts, in the rebar's coordinates.
  POINT origin = {0, 0};
  MapWindowPoints(toolbar, rebar, &origin, 1);

  HMENU menu = CreatePopupMenu();
  if (menu == nullptr) return false;
  bool pendingSeparator = false;
  int items = 0;
  const int count = static_cast<int>(SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0));
  for (int index = 0; index < count; ++index) {
    RECT place = {};
    SendMessageA(toolbar, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&place));
    if (origin.x + place.right <= chevron.rc.left) continue;  // on screen
    TBBUTTON button = {};
    SendMessageA(toolbar, TB_GETBUTTON, index, reinterpret_cast<LPARAM>(&button));
    if (button.fsStyle & TBSTYLE_SEP) {
      pendingSeparator = items > 0;
      continue;
    }
    if (pendingSeparator) AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    pendingSeparator = false;
    const UINT state = (button.fsState & TBSTATE_ENABLED) ? MF_ENABLED : MF_GRAYED;
    AppendMenuA(menu, MF_STRING | state, static_cast<UINT_PTR>(button.idCommand),
                ButtonCaption(toolbar, button.idCommand).c_str());
    ++items;
  }
  if (items > 0) {
    POINT at = {chevron.rc.left, chevron.rc.bottom};
    ClientToScreen(rebar, &at);
    SetForegroundWindow(window);
    gTrackPopupMenu(menu, TPM_LEFTALIGN | TPM_LEFTBUTTON, at.x, at.y, 0, window, nullptr);
  }
  DestroyMenu(menu);
  return items > 0;
}
