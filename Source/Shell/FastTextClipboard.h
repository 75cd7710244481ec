// Putting a fast text on the clipboard: the main window's answer to a
// command of the tray's "Fast Texts" sub-menu.
#pragma once

#include <windows.h>

// Copies the text of the menu item commandId to the clipboard as CF_TEXT
// (its bytes and one zero byte). Nothing changes for an empty or unreadable
// text, or when the clipboard cannot be opened.
void CopyFastTextToClipboard(HWND mainWindow, int commandId);
