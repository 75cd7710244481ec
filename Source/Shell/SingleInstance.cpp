// SingleInstance: the search for a running main window and its activation.
#include "Shell/SingleInstance.h"

#include "Resources/MainWindowIds.h"

namespace {

// The winner of two close starts may still be making its stores; its main
// window comes after that.
constexpr DWORD kWaitForRunningWindowMs = 10000;
constexpr DWORD kWaitStepMs = 50;

HANDLE gInstanceMutex = nullptr;

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

bool ClaimSingleInstance() {
  if (gInstanceMutex != nullptr) return true;
  HANDLE mutex = CreateMutexA(nullptr, FALSE, kSingleInstanceMutexName);
  const DWORD error = GetLastError();
  if (mutex == nullptr) return true;  // without a mutex, the window search still guards
  if (error == ERROR_ALREADY_EXISTS) {
    CloseHandle(mutex);
    return false;
  }
  gInstanceMutex = mutex;
  return true;
}

bool HoldsSingleInstance() {
  return gInstanceMutex != nullptr;
}

bool BringRunningInstanceForward(const char* className) {
  for (DWORD waited = 0;; waited += kWaitStepMs) {
    bool heldInTray = false;
    if (HWND running = FindRunningMainWindow(className, &heldInTray)) {
      ActivateRunningInstance(running, heldInTray);
      return true;
    }
    if (waited >= kWaitForRunningWindowMs) return false;
    Sleep(kWaitStepMs);
  }
}
