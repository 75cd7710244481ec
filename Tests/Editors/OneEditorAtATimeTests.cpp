// One editor at a time: while an editor is open, the tray's New commands for
// every kind (which reach the main window although the editor disables it)
// open no second editor, and Save changes exactly the opened record. Before
// this rule a second time-notification editor shared the first one's edit
// flag: its Save crashed, or after its Cancel the first editor's change was
// added as a duplicate.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "Managers/RecordManager.h"
#include "Records/RecordText.h"
#include "Resources/MainWindowIds.h"
#include "Resources/TimeNotificationEditorIds.h"
#include "Support/DialogDriver.h"
#include "Support/TestMainWindow.h"

using namespace qmtest;

namespace {

// Closes any dialog of this thread other than the one allowed, and counts
// them, so that a second editor makes the test fail instead of hang.
struct SecondDialogGuard {
  HWND allowed = nullptr;
  int closed = 0;
};
SecondDialogGuard* gGuard = nullptr;

BOOL CALLBACK CloseForeignDialog(HWND window, LPARAM) {
  char className[16] = {};
  GetClassNameA(window, className, sizeof className);
  if (std::strcmp(className, "#32770") == 0 && window != gGuard->allowed && IsWindowVisible(window)) {
    ++gGuard->closed;
    PostMessageA(window, WM_CLOSE, 0, 0);
  }
  return TRUE;
}

void CALLBACK GuardTick(HWND, UINT, UINT_PTR, DWORD) {
  if (gGuard != nullptr) EnumThreadWindows(GetCurrentThreadId(), CloseForeignDialog, 0);
}

const int kTrayNewCommands[] = {IDM_ADD_TEXT_NOTE,         IDM_ADD_AUDIO_NOTE,     IDM_ADD_VIDEO_NOTE,
                                IDM_ADD_PHOTO,             IDM_ADD_TIME_NOTIFICATION, IDM_ADD_EMAIL_RESOURCE,
                                IDM_ADD_INTERNET_RESOURCE, IDM_ADD_FAST_TEXT};

using OneEditorAtATimeTest = MainWindowTest;

}  // namespace

TEST_F(OneEditorAtATimeTest, NewCommandsWhileAnEditorIsOpenOpenNothingAndSaveChangesOnlyTheOpenedRecord) {
  TimeNotifValues first{"Dentist", "Tuesday", {2031, 5, 2, 6, 9, 30, 0, 0}, 0};
  TimeNotifValues second{"Plants", "Water them", {2031, 5, 0, 4, 18, 0, 0, 0}, 0};
  ASSERT_EQ(TimeNotifManager::AppendRecord(m_main->Handle(), first), 1);
  ASSERT_EQ(TimeNotifManager::AppendRecord(m_main->Handle(), second), 1);
  const std::vector<Row> rows = m_main->Rows();
  ASSERT_EQ(rows.size(), 2u);
  m_main->FocusRow(0);

  SecondDialogGuard guard;
  gGuard = &guard;
  UINT_PTR timer = SetTimer(nullptr, 0, 10, GuardTick);
  bool editorStillOpen = false;
  ASSERT_TRUE(DriveDialog("Time Notification", [this] { m_main->Command(IDM_EDIT_TIME_NOTIFICATION); },
                          [&](HWND dialog) {
                            guard.allowed = dialog;
                            TypeText(dialog, IDC_TIME_NOTIFICATION_TITLE, "Dentist at 9:30");
                            for (int command : kTrayNewCommands) {
                              PostMessageA(m_main->Handle(), WM_COMMAND, MAKEWPARAM(command, 0), 0);
                            }
                            // The editor's own loop dispatches the commands.
                            MSG message;
                            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
                            editorStillOpen = IsWindowVisible(dialog) != 0;
                            Press(dialog, IDC_TIME_NOTIFICATION_SAVE);
                          }));
  KillTimer(nullptr, timer);
  gGuard = nullptr;

  EXPECT_EQ(guard.closed, 0) << "no second dialog opened";
  EXPECT_TRUE(editorStillOpen);
  auto stored = StoredRecords<DatabaseDataTimeNotif>();
  ASSERT_EQ(stored.size(), 2u) << "nothing added";
  EXPECT_EQ(stored[0].first, rows[0].address);
  EXPECT_EQ(RecordTextOf(stored[0].second.title), "Dentist at 9:30");
  EXPECT_EQ(RecordTextOf(stored[1].second.title), "Plants");

  // With the editor gone, the commands open editors again.
  EXPECT_TRUE(DriveDialog("Fast Text", [this] { m_main->Command(IDM_ADD_FAST_TEXT); },
                          [](HWND dialog) { SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0); }));
}
