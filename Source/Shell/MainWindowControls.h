// MainWindowControls: creation of the main window's child controls, one
// function per control group, in the order the window builds them.
#pragma once

#include <windows.h>

// The manager list (1005) in icon view with its two image lists, still
// empty. Returns the list, or null.
HWND CreateManagerList(HWND window);
// The eight managers into the main window's manager list, arranged.
void FillManagerList(HWND window);
// The manager pane that shows columns of icons side by side, with room for a
// scroll bar: one column is the narrowest pane that never scrolls sideways;
// two hold the eight managers in four rows, all in view in a window of the
// usual size, where a fifth of the width held one column and four and a half.
int ManagerListWidth(HWND managers, int columns);
// The record list (1004): report view, full-row select, made at place and
// next to managers in the children's order. Returns it, or null.
HWND CreateRecordList(HWND window, HWND managers, const RECT& place);
// The status bar (1007) with parts at 150, 400 and the right end, "Ready" in
// part 0 and the progress bar (1006, range 0..100) inside part 1.
bool CreateMainStatusBar(HWND window);
// The rebar (1000) with the main toolbar (1001) as band 0 and the edit
// toolbar (1002) as band 1.
bool CreateMainRebar(HWND window);
