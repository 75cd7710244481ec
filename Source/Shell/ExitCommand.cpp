// ExitCommand: the question has no owner window, as the tray menu may ask it
// while the main window is hidden.
#include "Shell/ExitCommand.h"

#include "Records/MessageBoxSeam.h"
#include "Shell/MainWindowHooks.h"

bool ConfirmExit(HWND window) {
  if (ShowMessageBox(nullptr, "Would you like to Exit Quillmate?", "Quillmate", kMbYesNo | kMbIconQuestion) !=
      kIdYes)
    return false;
  EndQuillmate(window);
  return true;
}

void EndQuillmate(HWND window) {
  if (gMainWindowHooks.exitConfirmed) {
    gMainWindowHooks.exitConfirmed(window);
  } else {
    DestroyWindow(window);
  }
}
