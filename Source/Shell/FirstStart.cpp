// FirstStart: the first-start check.
#include "Shell/FirstStart.h"

#include "Library/CSystemTray.h"
#include "Shell/HelpFile.h"
#include "Shell/RegistryStrings.h"

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
  OpenHelpFile(executable.c_str());
}
