// MainWindowNotify: the notifications the main window acts on: a band drag
// ended, a toolbar asks for a tooltip, a right click or a double click in the
// record list, a double click in the manager list.
#pragma once

#include <windows.h>

// WM_NOTIFY; returns the message's result.
LRESULT OnMainWindowNotify(HWND window, NMHDR* header);
