// RecordContextMenu: the record list's context menu, the current kind's menu
// resource (104 + kind number), opened at the cursor on a right click when a
// row has the focus.
#pragma once

#include "Library/CListView.h"

#include <windows.h>

// Opens the menu; without a focused row nothing happens. Returns whether a
// menu was shown.
bool ShowRecordContextMenu(HWND window);

// TrackPopupMenu unless a test replaced it to read the menu it is given.
using PopupMenuTracker = BOOL(WINAPI*)(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner,
                                       const RECT* ignored);
extern PopupMenuTracker gTrackPopupMenu;

// The main window's record list.
CListView RecordListOfWindow(HWND window);
