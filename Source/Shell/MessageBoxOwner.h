// MessageBoxOwner: which window a box without a named owner belongs to. The
// main window installs it when it is built: boxes are then owned by the open
// editor, else by the main window (while it is on screen), so each box is
// modal to the window the user works in and nothing behind it takes a second
// click. Hidden in the tray, the main window owns no box.
#pragma once

#include <windows.h>

void InstallMessageBoxOwner(HWND mainWindow);
// Only the window that installed itself removes itself.
void RemoveMessageBoxOwner(HWND mainWindow);

// The window a box belongs to now, or null.
HWND CurrentMessageBoxOwner();
