// ExitRequest: the answer to "QuillmateExitRequest".
#include "Shell/ExitRequest.h"

#include "Managers/CEditorDialog.h"
#include "Records/MessageBoxSeam.h"
#include "Shell/ExitCommand.h"

namespace {

// What must not be ended from outside: an editor (it is brought forward, as
// for Exit), a box whose answer an action waits for, or a modal dialog of the
// platform (page setup, open file, print), which disables its owner; while
// the main window is hidden in the tray, that owner is the holder window at
// the root. Modeless windows holding nothing unsaved (the About box, a
// reminder or a find window) do not count.
bool ProgramBusy(HWND mainWindow) {
  if (CEditorDialog::BringOpenEditorForward()) return true;
  if (OpenMessageBoxCount() > 0) return true;
  return !IsWindowEnabled(mainWindow) || !IsWindowEnabled(GetAncestor(mainWindow, GA_ROOT));
}

}  // namespace

UINT ExitRequestMessage() {
  static const UINT message = RegisterWindowMessageA(kExitRequestMessageName);
  return message;
}

LRESULT AnswerExitRequest(HWND mainWindow) {
  if (ProgramBusy(mainWindow)) return kExitRequestRefused;
  EndQuillmate(mainWindow);
  return kExitRequestAccepted;
}
