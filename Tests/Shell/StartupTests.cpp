// The pieces of start-up under Wine, in-process: registry values, the help
// file's place, the guard and its messages, the message loop with the real
// accelerator table, the search for a running instance (also while it is
// hidden in the tray) and the creation of every store file. The whole program
// is started by EndToEndTests.sh.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "Library/CSystemTray.h"
#include "Library/ToolkitErrors.h"
#include "Records/DataFolders.h"
#include "Records/MessageBoxSeam.h"
#include "Resources/MainWindowIds.h"
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

}  // namespace
