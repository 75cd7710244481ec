// FirstStart: the first-start check, the kind of a later start and the Run
// value that starts the program at log-on.
#include "Shell/FirstStart.h"

#include <cstring>
#include <vector>

#include "Library/CSystemTray.h"
#include "Shell/HelpFile.h"
#include "Shell/MessageLoop.h"
#include "Shell/RegistryStrings.h"

namespace {

// The help viewer is a program of its own, and starting it through the shell
// takes a while: it opens once the new main window has been drawn and the
// program waits for input, so the greeting never holds up the first window.
void OpenHelpBesideExecutable() {
  OpenHelpFile(ExecutablePath().c_str());
}

// The welcome balloon is drawn by the program that holds the notification
// area while this one waits for its answer: it too comes once the window is
// drawn and the program waits for input.
CSystemTray* gGreetingTray = nullptr;

void ShowWelcomeBalloon() {
  if (gGreetingTray) gGreetingTray->ShowBalloonTip(kWelcomeText, kWelcomeTitle, CSystemTray::kBalloonInfo, 10);
}

// Paths and switches compare as the file system does: without case.
bool SameTextIgnoringCase(const std::string& a, const std::string& b) {
  return lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

// The words of a command line: quoted parts keep their blanks.
std::vector<std::string> Words(const char* line) {
  std::vector<std::string> words;
  std::string word;
  bool quoted = false, any = false;
  for (const char* c = line ? line : ""; *c != '\0'; ++c) {
    if (*c == '"') {
      quoted = !quoted;
      any = true;
    } else if ((*c == ' ' || *c == '\t') && !quoted) {
      if (any) words.push_back(word);
      word.clear();
      any = false;
    } else {
      word += *c;
      any = true;
    }
  }
  if (any) words.push_back(word);
  return words;
}

}  // namespace

bool IsFirstStart() {
  char marker[kRegistryStringSize];
  return !ReadRegistryString(kFirstStartKey, kFirstStartValue, marker);
}

bool HasTraySwitch(const char* commandLine) {
  const std::vector<std::string> words = Words(commandLine);
  for (std::size_t i = 1; i < words.size(); ++i) {
    if (SameTextIgnoringCase(words[i], kTraySwitch)) return true;
  }
  return false;
}

StartKind KindOfStart(const char* commandLine) {
  if (IsFirstStart()) return StartKind::First;
  return HasTraySwitch(commandLine) ? StartKind::LogOn : StartKind::ByTheUser;
}

std::string RunValueFor(const std::string& executable) {
  return "\"" + executable + "\" " + kTraySwitch;
}

void AddTraySwitchToRunValue(const std::string& executable) {
  char value[kRegistryStringSize];
  if (!ReadRegistryString(kRunKey, kRunValue, value)) return;
  const std::vector<std::string> words = Words(value);
  if (words.empty() || !SameTextIgnoringCase(words[0], executable)) return;
  if (HasTraySwitch(value)) return;
  WriteRegistryString(kRunKey, kRunValue, RunValueFor(executable).c_str());
}

void GreetOrHide(StartKind start, HWND mainWindow, CSystemTray& tray) {
  if (start == StartKind::LogOn) {
    CSystemTray::HideToTray(mainWindow);
    return;
  }
  if (start == StartKind::ByTheUser) return;
  WriteRegistryString(kFirstStartKey, kFirstStartValue, "Done");
  std::string executable = ExecutablePath();
  WriteRegistryString(kRunKey, kRunValue, RunValueFor(executable).c_str());
  gGreetingTray = &tray;
  RunWhenIdle(ShowWelcomeBalloon);
  RunWhenIdle(OpenHelpBesideExecutable);
}
