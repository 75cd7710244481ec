// RebarChevron: the menu behind a rebar band's chevron. A band narrower than
// its toolbar shows the chevron; the menu offers the toolbar's buttons that
// the band hides, with their captions, so every command stays in reach
// however small the window is.
#pragma once

#include <windows.h>
#include <commctrl.h>

// Opens the menu below the chevron; the chosen button's command reaches
// window as a WM_COMMAND. Returns whether a menu was shown (there was a
// hidden button).
bool ShowChevronMenu(HWND window, const NMREBARCHEVRON& chevron);
