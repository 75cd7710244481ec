// MainWindowLayout: places the rebar at the top, the status bar at the
// bottom and the splitter's panes in between.
#pragma once

#include <windows.h>

// The smallest window in which every control is still usable: both panes
// show a column, the edit toolbar's buttons fit, the main toolbar's hidden
// buttons are behind the band's chevron, and the status bar keeps its parts.
constexpr LONG kMinimumWindowWidth = 560;
constexpr LONG kMinimumWindowHeight = 420;

// Lays out for the new client size; every child paints again afterwards.
void LayOutMainWindow(HWND window, int clientWidth, int clientHeight);

// Lays out a window that is not on the screen (its controls just made): the
// show and the WM_SIZE that follow at this size leave the children as they are.
void LayOutHiddenMainWindow(HWND window);
// WM_SHOWWINDOW (shown): lays out while the window is still off the screen,
// unless it was laid out hidden at this size.
void LayOutShowingMainWindow(HWND window);
// WM_SIZE: lays out, unless this is the size the window was just laid out
// at while hidden.
void OnMainWindowSized(HWND window, int clientWidth, int clientHeight);

// Invalidates the main window with all its children, frames included, so
// that each child paints over the parent's freshly erased background.
void RepaintWithChildren(HWND window);
// After a band was dragged, shown or hidden: lays out with the current client
// size and repaints the whole client area.
void RelayOutMainWindow(HWND window);
