// MainWindowLayout: places the rebar at the top, the status bar at the
// bottom and the splitter's panes in between.
#pragma once

#include <windows.h>

// WM_SIZE with the new client size.
void LayOutMainWindow(HWND window, int clientWidth, int clientHeight);
// After a band was dragged, shown or hidden: lays out with the current client
// size and repaints the whole client area.
void RelayOutMainWindow(HWND window);
