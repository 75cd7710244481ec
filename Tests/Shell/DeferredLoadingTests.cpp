// What a start leaves for later: the libraries that only a dialog needs
// (rich edit, video playback and capture, the common dialogs) are not
// loaded by a start, and the dialog that needs one still opens, loading it
// then.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "Library/CSplitter.h"
#include "Records/DataFolders.h"
#include "Shell/MainWindow.h"
#include "Resources/MainWindowIds.h"
#include "Resources/TextNoteEditorIds.h"
#include "Shell/CQuillmateTray.h"
#include "Shell/FirstStart.h"
#include "Shell/MainWindowHooks.h"
#include "Shell/RegistryStrings.h"
#include "Shell/Startup.h"
#include "Support/DialogDriver.h"
#include "Support/MessagePump.h"
#include "Support/RecordedMessageBoxes.h"
#include "Support/ScratchFolder.h"

namespace {

// Every library the start defers, by the name the loader knows it by.
const char* const kDeferredLibraries[] = {"riched20.dll", "msvfw32.dll", "avifil32.dll", "avicap32.dll",
                                          "comdlg32.dll"};

std::vector<std::string> LoadedOf(const char* const* names, std::size_t count) {
  std::vector<std::string> loaded;
  for (std::size_t i = 0; i < count; ++i)
    if (GetModuleHandleA(names[i])) loaded.push_back(names[i]);
  return loaded;
}

TEST(Startup, AStartLoadsNoDialogsLibraryAndTheTextNoteEditorLoadsTheRichEditWhenItOpens) {
  // Nothing in this test process may have loaded them before the start.
  ASSERT_EQ(std::vector<std::string>(),
            LoadedOf(kDeferredLibraries, sizeof kDeferredLibraries / sizeof kDeferredLibraries[0]));
  qmtest::ScratchFolder folder("qm-deferred");
  ScopedApplicationDataFolder appData(folder.Path().string());
  qmtest::RecordedMessageBoxes boxes;
  char saved[kRegistryStringSize] = {};
  const bool hadMarker = ReadRegistryString(kFirstStartKey, kFirstStartValue, saved);
  ASSERT_TRUE(WriteRegistryString(kFirstStartKey, kFirstStartValue, "Done"));
  const MainWindowHooks savedHooks = gMainWindowHooks;
  {
    CQuillmateTray tray;
    ASSERT_TRUE(StartQuillmate(GetModuleHandleA(nullptr), SW_SHOWNORMAL, tray, "quillmate.exe /tray"));
    qmtest::PumpMessages();
    EXPECT_EQ(std::vector<std::string>(),
              LoadedOf(kDeferredLibraries, sizeof kDeferredLibraries / sizeof kDeferredLibraries[0]))
        << "loaded by the start";

    std::string bodyClass;
    EXPECT_TRUE(qmtest::DriveDialog(
        "Text Note", [] { SendMessageA(gMainWindow, WM_COMMAND, IDM_ADD_TEXT_NOTE, 0); },
        [&](HWND dialog) {
          char className[32] = {};
          GetClassNameA(GetDlgItem(dialog, IDC_TEXT_NOTE_BODY), className, sizeof className);
          bodyClass = className;
          qmtest::Press(dialog, IDC_TEXT_NOTE_CANCEL);
        }));
    EXPECT_EQ("RichEdit20A", bodyClass);
    EXPECT_NE(nullptr, GetModuleHandleA("riched20.dll"));
    EXPECT_TRUE(boxes.shown.empty()) << boxes.shown.front().text;
    DestroyWindow(gMainWindow);
    gMainWindow = nullptr;
    qmtest::PumpMessages();
  }
  // So that another test of this process can start the program again.
  UnregisterClassA(kMainWindowClassName, GetModuleHandleA(nullptr));
  UnregisterClassA(CSplitter::kBarClassName, GetModuleHandleA(nullptr));
  gMainWindowHooks = savedHooks;
  if (hadMarker) WriteRegistryString(kFirstStartKey, kFirstStartValue, saved);
}

}  // namespace
