// SingleInstance: the search for a running main window and its activation.
#include "Shell/SingleInstance.h"

#include "Resources/MainWindowIds.h"

namespace {

struct HeldSearch {
  const char* className;
  HWND found;
};

BOOL CALLBACK LookInsideTopLevel(HWND topLevel, LPARAM parameter) {
  auto* search = reinterpret_cast<HeldSearch*>(parameter);
  search->found = FindWindowExA(topLevel, nullptr, search->className, nullptr);
  return search->found ? FALSE : TRUE;
}

}  // namespace

HWND FindRunningMainWindow(const char* className, bool* heldInTray) {
  *heldInTray = false;
  if (HWND window = FindWindowA(className, nullptr)) return window;
  HeldSearch search = {className, nullptr};
  EnumWindows(LookInsideTopLevel, reinterpret_cast<LPARAM>(&search));
  if (search.found) *heldInTray = true;
  return search.found;
}

void ActivateRunningInstance(HWND mainWindow, bool heldInTray) {
  if (heldInTray) {
    // Only the starting process may hand out the foreground.
    AllowSetForegroundWindow(ASFW_ANY);
    PostMessageA(mainWindow, WM_COMMAND, IDM_RESTORE_FROM_TRAY, 0);
    return;
  }
  HWND popup = GetLastActivePopup(mainWindow);
  HWND front = (popup && IsWindow(popup)) ? popup : mainWindow;
  SetForegroundWindow(front);
  if (IsIconic(front)) ShowWindow(front, SW_RESTORE);
}
