// FirstStart: the first-start check.
#include "Shell/FirstStart.h"

#include "Library/CSystemTray.h"
#include "Shell/HelpFile.h"
#include "Shell/RegistryStrings.h"

bool GreetOrHide(HWND mainWindow, CSystemTray& tray) {
  char marker[kRegistryStringSize];
  if (ReadRegistryString(kFirstStartKey, kFirstStartValue, marker)) {
    CSystemTray::HideToTray(mainWindow);
    return false;
  }
  WriteRegistryString(kFirstStartKey, kFirstStartValue, "Done");
  tray.ShowBalloonTip(kWelcomeText, kWelcomeTitle, CSystemTray::kBalloonInfo, 10);
  std::string executable = ExecutablePath();
  WriteRegistryString(kRunKey, kRunValue, executable.c_str());
  OpenHelpFile(executable.c_str());
  return true;
}
