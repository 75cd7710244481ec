// ExitRequest: the answer to "QuillmateExitRequest".
#include "Shell/ExitRequest.h"

#include "Library/CModelessDialogs.h"
#include "Shell/ExitCommand.h"

#include <cstring>

namespace {

// A dialog or message box open without an owner (the Exit question, a
// message box whose caller passed no owner) disables no window; seen as a
// visible dialog-class window of this thread with no owner. A modeless
// dialog (a reminder) runs no loop of its own and holds nothing unsaved: it
// does not count.
BOOL CALLBACK LookForOwnerlessDialog(HWND window, LPARAM parameter) {
  char className[8] = {};
  if (!IsWindowVisible(window) || GetWindow(window, GW_OWNER)) return TRUE;
  if (CModelessDialogs::IsRegistered(window)) return TRUE;
  if (!GetClassNameA(window, className, sizeof className) || std::strcmp(className, "#32770") != 0) return TRUE;
  *reinterpret_cast<bool*>(parameter) = true;
  return FALSE;
}

bool ProgramBusy(HWND mainWindow) {
  // A modal dialog disables its owner; while the main window is hidden in
  // the tray, the owner is the holder window at the root.
  if (!IsWindowEnabled(mainWindow) || !IsWindowEnabled(GetAncestor(mainWindow, GA_ROOT))) return true;
  bool found = false;
  EnumThreadWindows(GetCurrentThreadId(), LookForOwnerlessDialog, reinterpret_cast<LPARAM>(&found));
  return found;
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
