// The pieces of start-up under Wine, in-process: registry values, the help
// file's place, the guard and its messages, the message loop with the real
// accelerator table, the search for a running instance (also while it is
// hidden in the tray) and the creation of every store file. The whole program
// is started by EndToEndTests.sh.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "Library/CSplitter.h"
#include "Library/CSystemTray.h"
#include "Shell/CQuillmateTray.h"
#include "Shell/FirstStart.h"
#include "Shell/MainWindow.h"
#include "Shell/MainWindowBuild.h"
#include "Shell/MainWindowHooks.h"
#include "Support/RecordedMessageBoxes.h"
#include "Support/ScratchFolder.h"
#include "Support/ScreenPixels.h"
#include "Library/ToolkitErrors.h"
#include "Records/DataFolders.h"
#include "Records/DatabaseObject.h"
#include "Records/MessageBoxSeam.h"
#include "Resources/MainWindowIds.h"
#include "Resources/TrayIds.h"
#include "Shell/AboutDialog.h"
#include "Shell/HelpFile.h"
#include "Shell/MessageLoop.h"
#include "Shell/RegistryStrings.h"
#include "Shell/SingleInstance.h"
#include "Shell/Startup.h"
#include "Shell/StartupGuard.h"
#include "TrayTestSupport.h"

using qmtest::PumpMessages;
using qmtest::PumpUntil;
using traytest::WatchedWindow;

namespace {

struct Box {
  void* owner;
  std::string text;
  std::string caption;
  unsigned style;
};

TEST(RegistryStrings, WriteCreatesTheKeyAndReadGivesTheTextBack) {
  std::string key = "Software\\QuillmateTests\\Registry" + std::to_string(GetCurrentProcessId());
  char text[kRegistryStringSize];
  std::memset(text, 'x', sizeof text);

  EXPECT_FALSE(ReadRegistryString(key.c_str(), "FirstTime", text)) << "no key yet";
  EXPECT_EQ('x', text[0]) << "a failed read leaves the buffer alone";

  ASSERT_TRUE(WriteRegistryString(key.c_str(), "FirstTime", "Done"));
  ASSERT_TRUE(ReadRegistryString(key.c_str(), "FirstTime", text));
  EXPECT_STREQ("Done", text);

  EXPECT_FALSE(ReadRegistryString(key.c_str(), "Missing", text)) << "key exists, value does not";
  EXPECT_STREQ("Done", text);

  // Overwriting replaces the whole text, terminator included.
  ASSERT_TRUE(WriteRegistryString(key.c_str(), "FirstTime", "Z:\\a\\quillmate.exe"));
  ASSERT_TRUE(ReadRegistryString(key.c_str(), "FirstTime", text));
  EXPECT_STREQ("Z:\\a\\quillmate.exe", text);
  ASSERT_TRUE(WriteRegistryString(key.c_str(), "FirstTime", "ok"));
  ASSERT_TRUE(ReadRegistryString(key.c_str(), "FirstTime", text));
  EXPECT_STREQ("ok", text);

  // A value longer than the buffer ends inside it.
  std::string longText(1500, 'L');
  ASSERT_TRUE(WriteRegistryString(key.c_str(), "Long", longText.c_str()));
  if (ReadRegistryString(key.c_str(), "Long", text)) {
    EXPECT_LT(std::strlen(text), kRegistryStringSize);
  }

  RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
}

TEST(HelpFile, LiesBesideTheExecutable) {
  EXPECT_EQ("C:\\Program Files\\Quillmate\\quillmate.chm",
            HelpFilePath("C:\\Program Files\\Quillmate\\quillmate.exe"));
  EXPECT_EQ("Z:\\quillmate.chm", HelpFilePath("Z:\\quillmate.exe"));
  std::string ours = ExecutablePath();
  ASSERT_NE(std::string::npos, ours.rfind('\\'));
  EXPECT_EQ(ours.substr(0, ours.rfind('\\')) + "\\quillmate.chm", HelpFilePath(ours.c_str()));
}

TEST(StartupGuard, ShowsWhatEscapesAndReportsTheFailure) {
  std::vector<Box> boxes;
  ScopedMessageBoxScript script([&](void* owner, const char* text, const char* caption, unsigned style) {
    boxes.push_back({owner, text, caption, style});
    return kIdOk;
  });

  bool ran = false;
  EXPECT_TRUE(RunStartupGuarded([&] { ran = true; }));
  EXPECT_TRUE(ran);
  EXPECT_TRUE(boxes.empty());

  EXPECT_FALSE(RunStartupGuarded([] { throw ToolkitErrors::kWindowCreationFailed; }));
  EXPECT_FALSE(RunStartupGuarded([] { throw 42; }));
  ASSERT_EQ(2u, boxes.size());
  EXPECT_EQ(nullptr, boxes[0].owner);
  EXPECT_EQ("Internal error: Window Creation Failed.", boxes[0].text);
  EXPECT_EQ("Error", boxes[0].caption);
  EXPECT_EQ(kMbIconWarning, boxes[0].style & 0xF0u);
  EXPECT_EQ(kMbOk, boxes[0].style & 0xFu);
  EXPECT_EQ("Internal error: Unknown exception", boxes[1].text);
  EXPECT_EQ("Error", boxes[1].caption);
  EXPECT_EQ(kMbIconWarning, boxes[1].style & 0xF0u);
}

TEST(MessageLoop, TranslatesTheAcceleratorsAgainstTheAddressedWindowAndEndsWithTheQuitCode) {
  HACCEL accelerators = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_ACCELERATORS));
  ASSERT_NE(nullptr, accelerators);

  WatchedWindow window(true);
  std::vector<UINT> commands;
  window.SetHandler([&](HWND self, UINT message, WPARAM wParam, LPARAM, LRESULT*) {
    if (message == WM_COMMAND) {
      commands.push_back(LOWORD(wParam));
      if (commands.size() == 2) PostQuitMessage(0);
      return true;
    }
    if (message == WM_TIMER) {
      KillTimer(self, 1);
      PostQuitMessage(99);  // the accelerators never arrived
      return true;
    }
    return false;
  });
  SetTimer(window.Handle(), 1, 5000, nullptr);
  PostMessageA(window.Handle(), WM_KEYDOWN, VK_F1, 0x003B0001);
  PostMessageA(window.Handle(), WM_CHAR, 0x10, 0x00190001);  // Ctrl+P as its character

  EXPECT_EQ(0, RunMessageLoop(accelerators));
  EXPECT_EQ((std::vector<UINT>{IDM_HELP_CONTENTS, IDM_PAGE_SETUP}), commands);

  PostQuitMessage(3);
  EXPECT_EQ(3, RunMessageLoop(accelerators));
}

// What can wait for the program to be ready (the help viewer of a first
// start) runs once, after everything already queued, and only once.
std::vector<std::string> gLoopEvents;

TEST(MessageLoop, RunsAnIdleTaskOnceAfterTheMessagesAlreadyWaiting) {
  gLoopEvents.clear();
  WatchedWindow window(true);
  window.SetHandler([&](HWND self, UINT message, WPARAM wParam, LPARAM, LRESULT*) {
    if (message == WM_TIMER) {
      KillTimer(self, 1);
      PostMessageA(self, WM_APP, 3, 0);
      return true;
    }
    if (message != WM_APP) return false;
    gLoopEvents.push_back("message " + std::to_string(wParam));
    if (wParam == 3) PostQuitMessage(0);
    return true;
  });
  PostMessageA(window.Handle(), WM_APP, 1, 0);
  PostMessageA(window.Handle(), WM_APP, 2, 0);
  RunWhenIdle([] { gLoopEvents.push_back("idle task"); });
  // The loop goes idle again and again while it waits for this timer.
  SetTimer(window.Handle(), 1, 200, nullptr);
  EXPECT_EQ(0, RunMessageLoop(nullptr));
  EXPECT_EQ((std::vector<std::string>{"message 1", "message 2", "idle task", "message 3"}), gLoopEvents);
}

TEST(MessageLoop, GivesTheModelessAboutDialogItsKeyboard) {
  WatchedWindow owner(true);
  HWND about = ShowAboutDialog(owner.Handle());
  ASSERT_NE(nullptr, about);
  SetActiveWindow(about);
  HWND ok = GetDlgItem(about, IDOK);
  ASSERT_NE(nullptr, ok);
  SetFocus(ok);
  // Enter on the OK button ends the dialog only through IsDialogMessage.
  PostMessageA(ok, WM_KEYDOWN, VK_RETURN, 0x001C0001);
  PostMessageA(ok, WM_KEYUP, VK_RETURN, 0xC01C0001);
  PostQuitMessage(0);
  EXPECT_EQ(0, RunMessageLoop(nullptr));
  EXPECT_FALSE(IsWindow(about));
  if (IsWindow(about)) DestroyWindow(about);
}

TEST(SingleInstance, FindsTheRunningMainWindowAlsoWhileItIsHiddenInTheTray) {
  const char* className = "QuillmateSingleInstanceTest";
  bool held = true;
  EXPECT_EQ(nullptr, FindRunningMainWindow(className, &held));

  WatchedWindow running(true, className);
  std::vector<UINT> commands;
  running.SetHandler([&](HWND, UINT message, WPARAM wParam, LPARAM, LRESULT*) {
    if (message == WM_COMMAND) commands.push_back(LOWORD(wParam));
    return false;
  });
  EXPECT_EQ(running.Handle(), FindRunningMainWindow(className, &held));
  EXPECT_FALSE(held);

  // A minimised main window comes back when a second start finds it.
  ShowWindow(running.Handle(), SW_MINIMIZE);
  ActivateRunningInstance(running.Handle(), false);
  PumpMessages();
  EXPECT_FALSE(IsIconic(running.Handle()));

  // Hidden in the tray it is no top-level window, yet it is found, and a
  // second start asks it to come back rather than starting a second program.
  CSystemTray::HideToTray(running.Handle());
  ASSERT_EQ(nullptr, FindWindowA(className, nullptr));
  EXPECT_EQ(running.Handle(), FindRunningMainWindow(className, &held));
  EXPECT_TRUE(held);
  ActivateRunningInstance(running.Handle(), true);
  EXPECT_TRUE(PumpUntil([&] { return !commands.empty(); }));
  EXPECT_EQ((std::vector<UINT>{IDM_RESTORE_FROM_TRAY}), commands);
  CSystemTray::RestoreFromTray(running.Handle());
}

TEST(StoreFiles, EveryKindsStoreIsCreatedEmptyAndKeptWhenItExists) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::filesystem::path folder =
      std::filesystem::path(temp) / ("QuillmateStartupTest" + std::to_string(GetCurrentProcessId()));
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  {
    ScopedApplicationDataFolder appData(folder.string() + "\\");
    MakeDataFolders();
    EXPECT_EQ(8, OpenEveryStore());
    const char* names[] = {"TextNotes", "AudioNotes", "VideoNotes",  "PhotoAlbum",
                           "TimeNotif", "EmailRes",   "InternetRes", "FastText"};
    for (const char* name : names) {
      std::filesystem::path file = folder / "Quillmate" / (std::string(name) + ".qmt");
      ASSERT_TRUE(std::filesystem::exists(file)) << file;
      EXPECT_EQ(40u, std::filesystem::file_size(file)) << file;
    }
    for (const char* sub : {"TextNotes", "AudioNotes", "VideoNotes", "PhotoAlbum", "FastText"})
      EXPECT_TRUE(std::filesystem::is_directory(folder / "Quillmate" / sub)) << sub;

    // A second start opens the same files and changes none of them.
    EXPECT_EQ(8, OpenEveryStore());
    EXPECT_EQ(40u, std::filesystem::file_size(folder / "Quillmate" / "FastText.qmt"));
  }
  std::filesystem::remove_all(folder);
}

TEST(MessageLoop, TheMainWindowsAcceleratorsWorkWhicheverListHasTheFocusAndTabMovesBetweenThem) {
  HACCEL accelerators = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_ACCELERATORS));
  ASSERT_NE(nullptr, accelerators);
  WatchedWindow main(true, "QuillmateKeysTestWindow");
  HWND lists[2] = {};
  const int ids[2] = {ID_MANAGER_LIST, ID_RECORD_LIST};
  for (int i = 0; i < 2; ++i) {
    lists[i] = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT, i * 150, 0, 140, 100,
                               main.Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(ids[i])), nullptr,
                               nullptr);
    ASSERT_NE(nullptr, lists[i]);
  }
  std::vector<UINT> commands;
  main.SetHandler([&](HWND self, UINT message, WPARAM wParam, LPARAM, LRESULT*) {
    if (message == WM_COMMAND) {
      commands.push_back(LOWORD(wParam));
      if (commands.size() == 2) PostQuitMessage(0);
      return true;
    }
    if (message == WM_TIMER) {
      KillTimer(self, 1);
      PostQuitMessage(99);  // the accelerators never reached the main window
      return true;
    }
    return false;
  });
  SetActiveWindow(main.Handle());
  SetFocus(lists[1]);
  SetTimer(main.Handle(), 1, 5000, nullptr);
  // F1 while the record list has the focus, Ctrl+P in the manager list, Tab.
  PostMessageA(lists[1], WM_KEYDOWN, VK_F1, 0x003B0001);
  PostMessageA(lists[0], WM_CHAR, 0x10, 0x00190001);
  PostMessageA(lists[1], WM_KEYDOWN, VK_TAB, 0x000F0001);
  EXPECT_EQ(0, RunMessageLoop(accelerators, main.Handle()));
  EXPECT_EQ((std::vector<UINT>{IDM_HELP_CONTENTS, IDM_PAGE_SETUP}), commands);
  EXPECT_EQ(lists[0], GetFocus()) << "Tab from the record list goes to the manager list";

  // And back, with Shift+Tab as with Tab: there are two stops.
  MSG tab = {lists[0], WM_KEYDOWN, VK_TAB, 0x000F0001, 0, {0, 0}};
  EXPECT_TRUE(TranslateMainWindowKeys(main.Handle(), accelerators, &tab));
  EXPECT_EQ(lists[1], GetFocus());
  // Keys of windows that are not the main window's are left alone.
  WatchedWindow other(true, "QuillmateKeysOtherWindow");
  MSG f1 = {other.Handle(), WM_KEYDOWN, VK_F1, 0x003B0001, 0, {0, 0}};
  EXPECT_FALSE(TranslateMainWindowKeys(main.Handle(), accelerators, &f1));
}

TEST(SingleInstance, ASecondStartThatFindsTheMutexTakenTouchesNoStoreAndBringsTheFirstForward) {
  qmtest::ScratchFolder folder("qm-mutex");
  ScopedApplicationDataFolder appData(folder.Path().string());
  // The first start holds the mutex and its main window is up (minimised).
  HANDLE first = CreateMutexA(nullptr, FALSE, kSingleInstanceMutexName);
  ASSERT_NE(nullptr, first);
  {
    WatchedWindow running(true, kMainWindowClassName);
    ShowWindow(running.Handle(), SW_MINIMIZE);
    CQuillmateTray tray;
    EXPECT_EQ(kExitNormal, RunQuillmate(GetModuleHandleA(nullptr), SW_SHOWNORMAL, tray));
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / "Quillmate")) << "the second start made the stores";
    PumpMessages();
    EXPECT_FALSE(IsIconic(running.Handle()));
  }
  CloseHandle(first);
  // The class name is the real main window's, which a later test registers.
  UnregisterClassA(kMainWindowClassName, GetModuleHandleA(nullptr));
}

TEST(Startup, WithoutAnApplicationDataFolderItSaysSoAndEnds) {
  qmtest::ScratchFolder folder("qm-nodata");
  std::vector<Box> boxes;
  ScopedMessageBoxScript script([&](void* owner, const char* text, const char* caption, unsigned style) {
    boxes.push_back({owner, text, caption, style});
    return kIdOk;
  });
  ScopedApplicationDataFolder unknown("");
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(folder.Path());
  CQuillmateTray tray;
  EXPECT_FALSE(RunStartupGuarded([&] { StartQuillmate(GetModuleHandleA(nullptr), SW_SHOWNORMAL, tray); }));
  std::filesystem::current_path(previous);
  ASSERT_EQ(1u, boxes.size());
  EXPECT_EQ(kNoDataFolderText, boxes[0].text);
  EXPECT_EQ("Error", boxes[0].caption);
  EXPECT_EQ(kMbOk | kMbIconWarning, boxes[0].style);
  EXPECT_TRUE(std::filesystem::is_empty(folder.Path())) << "records scattered in the working directory";
}

// Every WM_SHOWWINDOW that would put a main window on screen.
int gMainWindowShows = 0;

LRESULT CALLBACK WatchShows(int code, WPARAM wParam, LPARAM lParam) {
  const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && call->message == WM_SHOWWINDOW && call->wParam) {
    char className[32] = {};
    GetClassNameA(call->hwnd, className, sizeof className);
    if (std::strcmp(className, kMainWindowClassName) == 0) ++gMainWindowShows;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The registry values a start reads and writes, put back as they were.
class SavedRegistryValue {
 public:
  SavedRegistryValue(const char* key, const char* name) : m_key(key), m_name(name) {
    m_had = ReadRegistryString(key, name, m_text);
  }
  ~SavedRegistryValue() {
    if (m_had) {
      WriteRegistryString(m_key, m_name, m_text);
    } else {
      Delete();
    }
  }
  void Delete() const {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, m_key, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
      RegDeleteValueA(key, m_name);
      RegCloseKey(key);
    }
  }

 private:
  const char* m_key;
  const char* m_name;
  char m_text[kRegistryStringSize] = {};
  bool m_had = false;
};

std::string RunValueNow() {
  char text[kRegistryStringSize] = {};
  return ReadRegistryString(kRunKey, kRunValue, text) ? text : "";
}

// A later start (the marker is there) with the given command line: how often
// the main window was put on screen, and whether it is up afterwards.
struct LaterStart {
  int shows = -1;
  bool visible = false;
  bool heldInTray = false;
  // Whether the tray icon was there right after the start's steps, and
  // once the messages waiting were handled.
  bool iconBeforeLoop = false;
  bool iconAfterLoop = false;
  bool iconWhenClosed = false;
  bool controlsBeforeLoop = false;
  // Store files in the data folder once the loop has run.
  int storesAfterLoop = 0;
};

// The kinds' store files that exist in the data folder of the start.
int StoreFilesMade() {
  int files = 0;
  for (int kind = 0; kind < kRecordKindCount; ++kind) {
    if (std::filesystem::exists(StoreFilePath(static_cast<RecordKind>(kind)))) ++files;
  }
  return files;
}

void CALLBACK EndLoop(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  PostQuitMessage(0);
}

LaterStart StartLater(const char* commandLine, bool closeAtOnce = false) {
  qmtest::ScratchFolder folder("qm-later");
  ScopedApplicationDataFolder appData(folder.Path().string());
  qmtest::RecordedMessageBoxes boxes;
  const MainWindowHooks savedHooks = gMainWindowHooks;
  LaterStart result;
  gMainWindowShows = 0;
  HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, WatchShows, nullptr, GetCurrentThreadId());
  {
    CQuillmateTray tray;
    if (StartQuillmate(GetModuleHandleA(nullptr), SW_SHOWNORMAL, tray, commandLine) && gMainWindow) {
      result.iconBeforeLoop = tray.IsEnabled();
      result.controlsBeforeLoop = HasMainWindowControls(gMainWindow);
      // The close box, before the program was ever idle.
      if (closeAtOnce) {
        SendMessageA(gMainWindow, WM_CLOSE, 0, 0);
        result.iconWhenClosed = tray.IsEnabled();
      }
      // The program's loop, until it has been idle (and ran what waits
      // for that) and a short timer has ended it.
      SetTimer(nullptr, 0, 100, EndLoop);
      RunMessageLoop(nullptr, gMainWindow);
      result.iconAfterLoop = tray.IsEnabled();
      result.storesAfterLoop = StoreFilesMade();
      result.shows = gMainWindowShows;
      result.visible = IsWindowVisible(gMainWindow) != FALSE;
      FindRunningMainWindow(kMainWindowClassName, &result.heldInTray);
      DestroyWindow(gMainWindow);
      gMainWindow = nullptr;
      PumpMessages();
    }
  }
  // Each start registers the classes anew.
  UnregisterClassA(kMainWindowClassName, GetModuleHandleA(nullptr));
  UnregisterClassA(CSplitter::kBarClassName, GetModuleHandleA(nullptr));
  if (hook) UnhookWindowsHookEx(hook);
  gMainWindowHooks = savedHooks;
  EXPECT_TRUE(boxes.shown.empty());
  return result;
}

TEST(Startup, TheStartAtLogOnGoesToTheTrayUnseenAndAStartByTheUserShowsTheWindow) {
  SavedRegistryValue marker(kFirstStartKey, kFirstStartValue);
  SavedRegistryValue run(kRunKey, kRunValue);
  ASSERT_TRUE(WriteRegistryString(kFirstStartKey, kFirstStartValue, "Done"));
  const std::string self = ExecutablePath();

  // Log-on: /tray, in any case, after the program's own name. An old Run
  // value (the bare path) gets the switch.
  ASSERT_TRUE(WriteRegistryString(kRunKey, kRunValue, self.c_str()));
  LaterStart logOn = StartLater(("\"" + self + "\" /TRAY").c_str());
  EXPECT_EQ(0, logOn.shows) << "the window flashed on screen";
  EXPECT_FALSE(logOn.visible);
  EXPECT_TRUE(logOn.heldInTray);
  EXPECT_TRUE(logOn.iconBeforeLoop) << "a window hidden in the tray needs its icon";
  // Its controls wait until something needs them.
  EXPECT_FALSE(logOn.controlsBeforeLoop);
  // The store files wait for the first idle moment, but no longer.
  EXPECT_EQ(8, logOn.storesAfterLoop);
  EXPECT_EQ(RunValueNow(), "\"" + self + "\" /tray");

  // From the Start menu: no switch, the window shows; a Run value that
  // names another program is not touched.
  ASSERT_TRUE(WriteRegistryString(kRunKey, kRunValue, "C:\\Other\\quillmate.exe"));
  LaterStart byUser = StartLater("quillmate.exe");
  EXPECT_GE(byUser.shows, 1);
  EXPECT_TRUE(byUser.visible);
  EXPECT_FALSE(byUser.heldInTray);
  // A shown window's icon waits for the first idle moment...
  EXPECT_FALSE(byUser.iconBeforeLoop);
  EXPECT_TRUE(byUser.iconAfterLoop);
  EXPECT_EQ(8, byUser.storesAfterLoop);
  // ...unless the window goes to the tray before: then the icon comes first.
  LaterStart closedAtOnce = StartLater("quillmate.exe", true);
  EXPECT_TRUE(closedAtOnce.heldInTray);
  EXPECT_FALSE(closedAtOnce.visible);
  EXPECT_TRUE(closedAtOnce.iconWhenClosed) << "the window went to the tray without an icon";
  EXPECT_EQ(RunValueNow(), "C:\\Other\\quillmate.exe");
  // Without a Run value none is written by a later start.
  run.Delete();
  StartLater("quillmate.exe");
  EXPECT_EQ(RunValueNow(), "");

  // The switch is a word of its own, after the program's name.
  EXPECT_TRUE(HasTraySwitch("quillmate.exe /tray"));
  EXPECT_TRUE(HasTraySwitch("\"C:\\Program Files\\Quillmate\\quillmate.exe\" /Tray"));
  EXPECT_FALSE(HasTraySwitch("\"C:\\tray\\quillmate.exe\""));
  EXPECT_FALSE(HasTraySwitch("C:\\x\\quillmate.exe /trayful"));
  EXPECT_FALSE(HasTraySwitch("/tray"));
  EXPECT_FALSE(HasTraySwitch(nullptr));
}

// The marker of an earlier start set for one test, put back as it was
// afterwards, with the main window's hooks that start-up installs; the
// classes that start-up registers go too, so that the next start can
// register them again.
class LaterStartMarker {
 public:
  LaterStartMarker() : m_hadMarker(ReadRegistryString(kFirstStartKey, kFirstStartValue, m_saved)) {
    EXPECT_TRUE(WriteRegistryString(kFirstStartKey, kFirstStartValue, "Done"));
  }
  ~LaterStartMarker() {
    gMainWindowHooks = m_savedHooks;
    UnregisterClassA(kMainWindowClassName, GetModuleHandleA(nullptr));
    UnregisterClassA(CSplitter::kBarClassName, GetModuleHandleA(nullptr));
    if (m_hadMarker) {
      WriteRegistryString(kFirstStartKey, kFirstStartValue, m_saved);
      return;
    }
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kFirstStartKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
      RegDeleteValueA(key, kFirstStartValue);
      RegCloseKey(key);
    }
  }

 private:
  char m_saved[kRegistryStringSize] = {};
  bool m_hadMarker;
  const MainWindowHooks m_savedHooks = gMainWindowHooks;
};

// The record list's and the manager list's sizes as the layout gives them,
// and the first row's text on screen: what a user sees of a restored window.
std::string WhatIsMissing(HWND main) {
  std::string missing;
  HWND records = GetDlgItem(main, ID_RECORD_LIST);
  HWND managers = GetDlgItem(main, ID_MANAGER_LIST);
  HWND bar = GetDlgItem(main, CSplitter::kBarId);
  RECT client = {}, rebar = {}, status = {};
  GetClientRect(main, &client);
  GetClientRect(GetDlgItem(main, ID_REBAR), &rebar);
  GetWindowRect(GetDlgItem(main, ID_STATUS_BAR), &status);
  const int paneHeight = client.bottom - rebar.bottom - (status.bottom - status.top);
  for (HWND pane : {records, managers, bar}) {
    RECT box = {};
    GetWindowRect(pane, &box);
    if (box.bottom - box.top != paneHeight) missing += " a pane is not as high as the space between the bars;";
    if (box.right - box.left <= 0) missing += " a pane has no width;";
  }
  RECT recordsBox = {}, managersBox = {}, barBox = {};
  GetWindowRect(records, &recordsBox);
  GetWindowRect(managers, &managersBox);
  GetWindowRect(bar, &barBox);
  if ((managersBox.right - managersBox.left) + (barBox.right - barBox.left) + (recordsBox.right - recordsBox.left) !=
      client.right)
    missing += " the panes do not fill the width;";
  RECT row = {};
  row.left = LVIR_LABEL;
  SendMessageA(records, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
  if (qmtest::ScreenPixels(records).InkIn(row) == 0) missing += " the first row is not drawn;";
  return missing;
}

TEST(Startup, AfterALaterStartEveryWayOfRestoringShowsTheWindowLaidOutAndDrawn) {
  qmtest::ScratchFolder folder("qm-restore");
  ScopedApplicationDataFolder appData(folder.Path().string());
  qmtest::RecordedMessageBoxes boxes;
  LaterStartMarker marker;
  ASSERT_TRUE(MakeDataFolders());
  {
    auto store = OpenStore<DatabaseDataTextNote>();
    ASSERT_TRUE(store);
    std::strcpy(store->Data().date, "09:05:03 11/28/2003");
    std::strcpy(store->Data().title, "Shopping");
    ASSERT_NE(0u, store->AddRecord());
    CloseStore(store);
  }
  CQuillmateTray tray;
  ASSERT_TRUE(StartQuillmate(GetModuleHandleA(nullptr), SW_SHOWNORMAL, tray, "quillmate.exe /tray"));
  HWND main = gMainWindow;
  ASSERT_NE(nullptr, main);
  PumpMessages();
  ASSERT_FALSE(IsWindowVisible(main));

  struct Way {
    const char* name;
    std::function<void()> restore;
  };
  const Way ways[] = {
      {"the tray menu's Quillmate...", [&] { SendMessageA(main, WM_COMMAND, IDM_RESTORE_FROM_TRAY, 0); }},
      {"a double click on the icon",
       [&] { SendMessageA(main, kTrayCallbackMessage, IDR_TRAY_MENU, WM_LBUTTONDBLCLK); }},
      {"a second start", [&] {
         bool heldInTray = false;
         ASSERT_EQ(main, FindRunningMainWindow(kMainWindowClassName, &heldInTray));
         ActivateRunningInstance(main, heldInTray);
       }},
  };
  for (const Way& way : ways) {
    way.restore();
    std::string missing = "not shown";
    PumpUntil([&] {
      missing = IsWindowVisible(main) ? WhatIsMissing(main) : "not shown";
      return missing.empty();
    });
    EXPECT_EQ("", missing) << "restored by " << way.name;
    SendMessageA(main, WM_COMMAND, IDM_HIDE_TO_TRAY, 0);
    PumpMessages();
    ASSERT_FALSE(IsWindowVisible(main));
  }
  DestroyWindow(main);
  gMainWindow = nullptr;
  PumpMessages();
}

}  // namespace
