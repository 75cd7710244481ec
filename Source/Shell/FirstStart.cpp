// FirstStart: the first-start check.
#include "Shell/FirstStart.h"

#include "Library/CSystemTray.h"
#include "Shell/HelpFile.h"
#include "Shell/RegistryStrings.h"

namespace {

// The help viewer is a program of its own, and starting it through the shell
// takes a while: it opens once the new main window has been drawn and the
// program waits for input, so the greeting never holds up the first window.
constexpr UINT_PTR kOpenHelpTimer = 0x51A1;

void CALLBACK OpenHelpWhenIdle(HWND window, UINT, UINT_PTR timer, DWORD) {
  KillTimer(window, timer);
  OpenHelpFile(ExecutablePath().c_str());
}

}  // namespace

bool IsFirstStart() {
  char marker[kRegistryStringSize];
  return !ReadRegistryString(kFirstStartKey, kFirstStartValue, marker);
}

void GreetOrHide(bool firstStart, HWND mainWindow, CSystemTray& tray) {
  if (!firstStart) {
    CSystemTray::HideToTray(mainWindow);
    return;
  }
  WriteRegistryString(kFirstStartKey, kFirstStartValue, "Done");
  tray.ShowBalloonTip(kWelcomeText, kWelcomeTitle, CSystemTray::kBalloonInfo, 10);
  std::string executable = ExecutablePath();
  WriteRegistryString(kRunKey, kRunValue, executable.c_str());
  // A timer's message comes only once the queue is empty, after the paint.
  if (!SetTimer(mainWindow, kOpenHelpTimer, 0, OpenHelpWhenIdle)) OpenHelpFile(executable.c_str());
}
