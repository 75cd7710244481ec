// ExitCommand: the Exit command asks first; only Yes ends the program.
#pragma once

#include <windows.h>

// Asks "Would you like to Exit Quillmate?"; on Yes ends the program as
// EndQuillmate does. While an editor is open it asks nothing and only brings
// the editor forward. Returns whether the user chose to exit.
bool ConfirmExit(HWND window);

// The end of the program once the user (or the exit request) has decided:
// runs the exit hook, or destroys the main window when none is installed.
void EndQuillmate(HWND window);
