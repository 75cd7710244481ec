// RecordContextMenu: the record list's context menu, the current kind's menu
// resource (104 + kind number), opened when a row has the focus: at the
// cursor on a right click, at the focused row from the keyboard (Shift+F10,
// the Menu key).
#pragma once

#include "Library/CListView.h"

#include <windows.h>

enum class MenuPlace { Cursor, FocusedRow };

// Opens the menu; without a focused row nothing happens. Returns whether a
// menu was shown.
bool ShowRecordContextMenu(HWND window, MenuPlace place = MenuPlace::Cursor);

// TrackPopupMenu unless a test replaced it to read the menu it is given.
using PopupMenuTracker = BOOL(WINAPI*)(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner,
                                       const RECT* ignored);
extern PopupMenuTracker gTrackPopupMenu;

// The main window's record list.
CListView RecordListOfWindow(HWND window);
