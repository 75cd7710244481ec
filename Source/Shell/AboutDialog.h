// AboutDialog: dialog 2000, "About Quillmate", opened modeless by command 280.
#pragma once

#include <windows.h>

// Creates and shows the dialog with the main window as owner; while one is
// open, that one is brought forward and returned instead. When it cannot
// be created, "Error x%x" with the last error code is shown. Returns the
// dialog, or null.
HWND ShowAboutDialog(HWND owner);
