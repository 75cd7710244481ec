// ExitCommand: the Exit command asks first; only Yes ends the program.
#pragma once

#include <windows.h>

// Asks "Would you like to Exit Quillmate?"; on Yes runs the exit hook, or
// destroys the main window when none is installed. Returns whether the user
// chose to exit.
bool ConfirmExit(HWND window);
