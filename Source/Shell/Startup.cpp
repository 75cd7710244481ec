// Startup: the start-up steps in their order, and the entry point's frame
// around them.
#include "Shell/Startup.h"

#include <commctrl.h>

#include "Library/CSplitter.h"
#include "Library/CSystemTray.h"
#include "Library/CWinApp.h"
#include "Managers/CEditorDialog.h"
#include "Managers/KindManager.h"
#include "Managers/TimeNotificationScheduler.h"
#include "Shell/Reminders.h"
#include "Records/DataFolders.h"
#include "Resources/MainWindowIds.h"
#include "Resources/TrayIds.h"
#include "Shell/FirstStart.h"
#include "Shell/FastTextClipboard.h"
#include "Shell/HelpFile.h"
#include "Shell/KindCommands.h"
#include "Shell/MainWindow.h"
#include "Shell/MainWindowHooks.h"
#include "Shell/MessageLoop.h"
#include "Shell/PageSetup.h"
#include "Shell/SingleInstance.h"
#include "Shell/StartupGuard.h"

#include <cstring>

HWND gMainWindow = nullptr;

namespace {

// The tray object that the main window hands the icon's messages to.
CSystemTray* gShellTray = nullptr;

void InitialiseCommonControls() {
  InitCommonControls();
  const DWORD classSets[] = {ICC_COOL_CLASSES, ICC_BAR_CLASSES | ICC_DATE_CLASSES, ICC_PROGRESS_CLASS,
                             ICC_WIN95_CLASSES};
  for (DWORD classes : classSets) {
    INITCOMMONCONTROLSEX init;
    init.dwSize = sizeof init;
    init.dwICC = classes;
    InitCommonControlsEx(&init);
  }
}

LRESULT HandTrayMessage(HWND, WPARAM iconId, LPARAM mouseMessage) {
  return gShellTray ? gShellTray->HandleTrayMessage(iconId, mouseMessage) : 0;
}

bool ShowTrayBalloon(HWND, const char* text, DWORD icon) {
  return gShellTray && gShellTray->ShowBalloonTip(text, "Quillmate", icon, 10);
}

void OpenHelpBesideExecutable(HWND) {
  OpenHelpFile(ExecutablePath().c_str());
}

void ShowCopiedBalloon(HWND, const char* title) {
  if (gShellTray) gShellTray->ShowBalloonTip(CopiedBalloonText(title).c_str(), nullptr, CSystemTray::kBalloonInfo, 10);
}

// F1 in an editor: the help file at the editor's kind.
void OpenKindHelp(HWND, RecordKind kind) {
  if (const KindCommands* commands = KindCommandsAt(static_cast<int>(kind))) {
    OpenHelpTopic(ExecutablePath().c_str(), commands->helpTopic);
  }
}

// Icon 7 before version 5 of the platform, else icon 2.
HICON TrayIcon(HINSTANCE instance) {
  OSVERSIONINFOA version;
  std::memset(&version, 0, sizeof version);
  version.dwOSVersionInfoSize = sizeof version;  // 148
  int iconId = IDI_QUILLMATE;
  if (GetVersionExA(&version) && version.dwMajorVersion < 5) iconId = IDI_QUILLMATE_CLASSIC;
  return static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(iconId), IMAGE_ICON,
                                       GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                       LR_SHARED));
}

// The notification icon. A start that shows the window makes it once the
// program first waits for input (talking to the shell takes a while, and
// the window is what the user waits for); whatever hides the window to the
// tray before then makes it first, so a hidden window always has its icon.
bool gTrayIconMade = false;
HINSTANCE gTrayInstance = nullptr;

void MakeTrayIcon() {
  if (gTrayIconMade || gShellTray == nullptr || gMainWindow == nullptr) return;
  gTrayIconMade = true;
  gShellTray->Create(gTrayInstance, nullptr, kTrayCallbackMessage, kTrayTooltip, TrayIcon(gTrayInstance),
                     IDR_TRAY_MENU, false, nullptr, nullptr, CSystemTray::kBalloonNone, 10);
  gShellTray->SetNotifyWindow(gMainWindow);
}

void HideToTrayWithIcon(HWND window) {
  MakeTrayIcon();
  CSystemTray::HideToTray(window);
}

// What the main window leaves to the tray, the help file and the scheduler.
void InstallMainWindowHooks(CSystemTray& tray) {
  gShellTray = &tray;
  gMainWindowHooks.hideToTray = HideToTrayWithIcon;
  gMainWindowHooks.restoreFromTray = CSystemTray::RestoreFromTray;
  gMainWindowHooks.openHelp = OpenHelpBesideExecutable;
  gMainWindowHooks.trayMessage = HandTrayMessage;
  gMainWindowHooks.showBalloon = ShowTrayBalloon;
  gMainWindowHooks.timerTick = CheckNotifications;
  gMainWindowHooks.fastTextCopied = ShowCopiedBalloon;
  CEditorDialog::SetHelpOpener(OpenKindHelp);
}

}  // namespace

int OpenEveryStore() {
  int opened = 0;
  for (int kind = 0; kind < kRecordKindCount; ++kind) {
    if (EnsureStore(static_cast<RecordKind>(kind))) ++opened;
  }
  return opened;
}

bool StartQuillmate(HINSTANCE instance, int showCommand, CSystemTray& tray, const char* commandLine) {
  InitialiseCommonControls();
  if (!MakeDataFolders()) throw kNoDataFolderText;
  // Every store opens itself when used, and the start needs only the time
  // notifications: the files of the others are made, when missing, at the
  // first idle moment, once the window is up.
  LoadPendingNotifications();

  WindowClassDef mainClass = MainWindowClass(instance);
  bool heldInTray = false;
  // A search of every top-level window, needed only without the mutex.
  HWND running = HoldsSingleInstance() ? nullptr : FindRunningMainWindow(mainClass.lpszClassName, &heldInTray);
  if (running != nullptr) {
    ActivateRunningInstance(running, heldInTray);
    return false;
  }
  mainClass.Register();
  CSplitter::RegisterBarClass(instance);

  InstallMainWindowHooks(tray);
  // Decided before the window exists: the start at log-on creates it
  // hidden, so no log-on flashes the window.
  const StartKind start = KindOfStart(commandLine != nullptr ? commandLine : GetCommandLineA());
  const bool shown = start != StartKind::LogOn;
  HWND mainWindow = CreateMainWindow(instance, shown);
  if (shown) {
    ShowWindow(mainWindow, showCommand);
    UpdateWindow(mainWindow);
  }
  gMainWindow = mainWindow;

  gTrayIconMade = false;
  gTrayInstance = instance;
  if (shown) {
    RunWhenIdle(MakeTrayIcon);
  } else {
    MakeTrayIcon();
  }
  RunWhenIdle([] { OpenEveryStore(); });
  SetPageSetupDefaults(mainWindow);
  GreetOrHide(start, mainWindow, tray);
  if (start != StartKind::First) AddTraySwitchToRunValue(ExecutablePath());
  return true;
}

int RunQuillmate(HINSTANCE instance, int showCommand, CSystemTray& tray) {
  gApp.SetInstance(instance);
  // Before anything touches the stores: a second start only brings the
  // first one forward.
  if (!ClaimSingleInstance()) {
    BringRunningInstanceForward(kMainWindowClassName);
    return kExitNormal;
  }
  bool started = false;
  if (!RunStartupGuarded([&] { started = StartQuillmate(instance, showCommand, tray); })) return kExitNormal;
  if (!started) return kExitNormal;
  HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_ACCELERATORS));
  return RunMessageLoop(accelerators, gMainWindow);
}
