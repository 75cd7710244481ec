// ExitCommand: the question belongs to the main window while it is on
// screen; hidden in the tray, it has no owner, and is asked once at a time.
#include "Shell/ExitCommand.h"

#include "Records/MessageBoxSeam.h"
#include "Shell/MainWindowHooks.h"

namespace {

// Hidden in the tray, the main window owns no box, and the tray menu can ask
// again while the question is up: one question at a time.
bool gAsking = false;

bool AskToExit() {
  if (gAsking) return false;
  gAsking = true;
  const bool yes =
      ShowMessageBox(nullptr, "Would you like to Exit Quillmate?", "Quillmate", kMbYesNo | kMbIconQuestion) ==
      kIdYes;
  gAsking = false;
  return yes;
}

}  // namespace

bool ConfirmExit(HWND window) {
  if (!AskToExit()) return false;
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
