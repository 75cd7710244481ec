// ExitCommand: the question belongs to the main window while it is on
// screen; hidden in the tray, it has no owner, and is asked once at a time.
// An open editor holds what the user has not saved yet, so while one is open
// Exit only brings it forward. Windows that hold nothing unsaved (the About
// box, a reminder or a find window) are no editors and never stand in the way.
#include "Shell/ExitCommand.h"

#include "Managers/CEditorDialog.h"
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
  if (CEditorDialog::BringOpenEditorForward()) return false;
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
