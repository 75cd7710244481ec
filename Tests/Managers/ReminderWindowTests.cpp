// The reminder window in-process, over the real store, main window and tray
// object: Snooze and its remembered choice, a record deleted or edited while
// its reminder is open, the balloon while the main window is hidden and what
// its click brings forward, the sound of a batch, and the ends of the
// program that must not wait for (or lose) a reminder.
#include <gtest/gtest.h>

#include "Library/CWinApp.h"
#include "Managers/PendingNotifications.h"
#include "Managers/RecordManager.h"
#include "Managers/TimeNotificationScheduler.h"
#include "Records/RecordText.h"
#include "Resources/MainWindowIds.h"
#include "Resources/ReminderWindowIds.h"
#include "Resources/TrayIds.h"
#include "Shell/CQuillmateTray.h"
#include "Shell/ExitRequest.h"
#include "Shell/FirstStart.h"
#include "Shell/MainWindow.h"
#include "Shell/MessageLoop.h"
#include "Shell/RegistryStrings.h"
#include "Shell/Reminders.h"
#include "Support/MessagePump.h"
#include "TimeNotificationTestSupport.h"

using namespace qmtimenotif;

namespace {

int SnoozeChoiceOf(const ShownReminder& reminder) {
  return static_cast<int>(SendDlgItemMessageA(reminder.window, IDC_REMINDER_SNOOZE_CHOICE, CB_GETCURSEL, 0, 0));
}

std::string RememberedSnooze() {
  char text[kRegistryStringSize] = {};
  return ReadRegistryString(kFirstStartKey, "ReminderSnooze", text) ? text : "";
}

struct Balloon {
  std::string text;
  DWORD icon;
};
std::vector<Balloon> gBalloons;

bool RecordBalloon(HWND, const char* text, DWORD icon) {
  gBalloons.push_back({text, icon});
  return true;
}

}  // namespace

TEST_F(TimeNotificationTest, SnoozeMovesTheTimeFromNowArmsItToFallDueOnceAndRemembersTheChoice) {
  const std::uint32_t address = StoreNotification("Stretch", "Stand up", AddSeconds(m_now, -2), 0);
  LoadPendingNotifications();
  m_main->Command(IDM_SHOW_TIME_NOTIFICATIONS);
  m_main->Tick();
  ASSERT_EQ(OpenReminders().size(), 1u);
  // 5, 10, 15, 30 minutes, 1 hour, 1 day; 10 minutes preselected.
  HWND choices = GetDlgItem(OpenReminders()[0].window, IDC_REMINDER_SNOOZE_CHOICE);
  ASSERT_EQ(SendMessageA(choices, CB_GETCOUNT, 0, 0), 6);
  char last[32] = {};
  SendMessageA(choices, CB_GETLBTEXT, 5, reinterpret_cast<LPARAM>(last));
  EXPECT_STREQ(last, "1 day");
  EXPECT_EQ(SnoozeChoiceOf(OpenReminders()[0]), 1);

  m_now = AddSeconds(m_now, 7);  // the user looked at it for a while
  const RecordTime snoozedAt = m_now;
  PressSnooze(OpenReminders()[0], 0);  // 5 minutes
  EXPECT_TRUE(OpenReminders().empty());
  EXPECT_TRUE(m_boxes.shown.empty());
  std::vector<DatabaseDataTimeNotif> stored = StoredNotifications();
  ASSERT_EQ(stored.size(), 1u);
  EXPECT_EQ(stored[0].ownAddress, address);
  EXPECT_TRUE(SameSecond(stored[0].time, AddSeconds(snoozedAt, 300)));
  EXPECT_EQ(m_main->Rows().at(0).texts.at(2), "09:10:10 11/28/2003");
  EXPECT_EQ(RememberedSnooze(), "5");

  // Not due before the new time; then once, with the last choice preselected.
  m_now = AddSeconds(snoozedAt, 300);
  m_main->Tick();
  EXPECT_TRUE(OpenReminders().empty());
  m_now = AddSeconds(snoozedAt, 301);
  m_main->Tick();
  m_main->Tick();
  ASSERT_EQ(OpenReminders().size(), 1u);
  EXPECT_EQ(SnoozeChoiceOf(OpenReminders()[0]), 0);
  PressSnooze(OpenReminders()[0], 5);  // 1 day
  EXPECT_TRUE(SameSecond(StoredNotifications().at(0).time, AddSeconds(snoozedAt, 301 + 24 * 3600)));
  EXPECT_EQ(RememberedSnooze(), "1440");
  m_now = AddSeconds(snoozedAt, 3 * 3600);
  m_main->Tick();
  EXPECT_TRUE(OpenReminders().empty());
  EXPECT_EQ(PendingNotifications.GetSize(), 1);
}

TEST_F(TimeNotificationTest, ARecordDeletedOrEditedWhileItsReminderIsOpenIsLeftAsItIsByOkAndSnooze) {
  const std::uint32_t deleted = StoreNotification("Deleted", "d", AddSeconds(m_now, -1), 0);
  const std::uint32_t edited = StoreNotification("Edited", "e", AddSeconds(m_now, -1), 0);
  LoadPendingNotifications();
  m_main->Tick();
  std::vector<ShownReminder> shown = OpenReminders();
  ASSERT_EQ(shown.size(), 2u);

  // Deleted from the list, and its freed block taken by a new record: OK
  // must not take the new record for the old one.
  m_main->Command(IDM_SHOW_TIME_NOTIFICATIONS);
  m_main->FocusRow(m_main->RowOf(deleted));
  m_main->Command(IDM_DELETE_TIME_NOTIFICATIONS);
  ASSERT_EQ(TimeNotifManager::AppendRecord(m_main->Handle(), {"New", "n", AddSeconds(m_now, 86400), 0}), 1);
  ASSERT_EQ(StoredNotifications().at(0).ownAddress, deleted) << "the new record should reuse the freed block";
  PressOk(shown[0]);
  EXPECT_FALSE(IsWindow(shown[0].window));

  // Edited meanwhile (as the editor changes it): the edit stands; Snooze
  // only closes, and the edited time is what is armed.
  const RecordTime editedTime = AddSeconds(m_now, 3600);
  ASSERT_EQ(TimeNotifManager::ChangeRecordAt(m_main->Handle(), edited, {"Edited", "by hand", editedTime, 1}), 1);
  // While its reminder is open the edited record does not fall due again.
  m_now = AddSeconds(m_now, 2 * 3600);
  m_main->Tick();
  EXPECT_EQ(OpenReminders().size(), 1u);
  PressSnooze(shown[1], 0);
  EXPECT_TRUE(OpenReminders().empty());
  EXPECT_TRUE(m_boxes.shown.empty());

  std::vector<DatabaseDataTimeNotif> stored = StoredNotifications();
  ASSERT_EQ(stored.size(), 2u);
  EXPECT_EQ(RecordTextOf(stored[0].title), "New");
  EXPECT_EQ(RecordTextOf(stored[1].text), "by hand");
  EXPECT_TRUE(SameSecond(stored[1].time, editedTime));
  EXPECT_EQ(RememberedSnooze(), "");
  // Now that its window has gone, the edited one falls due with its edit.
  m_main->Tick();
  ASSERT_EQ(OpenReminders().size(), 1u);
  EXPECT_EQ(OpenReminders()[0].text, "by hand");
  EXPECT_TRUE(OpenReminders()[0].urgent);
}

TEST_F(TimeNotificationTest, HiddenInTheTrayABalloonAnnouncesEachBatchAndItsClickBringsThatReminderForward) {
  gBalloons.clear();
  gMainWindowHooks.showBalloon = RecordBalloon;
  CQuillmateTray tray;
  ASSERT_TRUE(tray.Create(gApp.GetInstance(), m_main->Handle(), kTrayCallbackMessage, "Quillmate",
                          LoadIconA(nullptr, IDI_APPLICATION), IDR_TRAY_MENU));
  s_aliasPlays = true;

  // Shown, the main window needs no balloon.
  ShowWindow(m_main->Handle(), SW_SHOWNOACTIVATE);
  StoreNotification("Seen", "s", AddSeconds(m_now, -1), 0);
  LoadPendingNotifications();
  m_main->Tick();
  EXPECT_TRUE(gBalloons.empty());
  PressOk(OpenReminders()[0]);

  // Hidden: ten due at once fill the screen, one balloon for the batch.
  ShowWindow(m_main->Handle(), SW_HIDE);
  for (int i = 0; i < 10; ++i) StoreNotification("First ten", std::to_string(i), AddSeconds(m_now, 5), 0);
  StoreNotification("Urgent one", "u", AddSeconds(m_now, 10), 1);
  StoreNotification("Last one", "l", AddSeconds(m_now, 10), 0);
  LoadPendingNotifications();
  m_now = AddSeconds(m_now, 6);
  m_main->Tick();
  ASSERT_EQ(gBalloons.size(), 1u);
  EXPECT_EQ(gBalloons[0].text, "Reminder: First ten");
  EXPECT_EQ(gBalloons[0].icon, CSystemTray::kBalloonInfo);
  EXPECT_EQ(OpenReminders().size(), 10u);

  // A click on it brings its reminder forward: the oldest.
  EXPECT_EQ(tray.HandleTrayMessage(IDR_TRAY_MENU, NIN_BALLOONUSERCLICK), 1);
  EXPECT_TRUE(qmtest::PumpUntil([&] { return GetForegroundWindow() == OpenReminders()[0].window; }, 2000));

  // The next batch waits behind the ten; its balloon announces its first,
  // and a click moves that one to the head of the queue.
  m_now = AddSeconds(m_now, 5);
  m_main->Tick();
  ASSERT_EQ(gBalloons.size(), 2u);
  EXPECT_EQ(gBalloons[1].text, "Reminder: Urgent one");
  EXPECT_EQ(gBalloons[1].icon, CSystemTray::kBalloonWarning);
  EXPECT_EQ(WaitingReminderCount(), 2);
  EXPECT_EQ(tray.HandleTrayMessage(IDR_TRAY_MENU, NIN_BALLOONUSERCLICK), 1);
  PressOk(OpenReminders()[3]);
  EXPECT_EQ(OpenReminders().back().caption, "Urgent one");
  EXPECT_EQ(WaitingReminderCount(), 1);
  // Two batches, two sounds; the event alias played, so no beep.
  EXPECT_EQ(s_aliasCalls, 3);
  EXPECT_EQ(s_beeps, 0);

  // Once that reminder is dismissed, a click on its old balloon brings
  // nothing else forward.
  PressOk(OpenReminders().back());
  EXPECT_FALSE(BringAnnouncedReminderForward());
}

TEST_F(TimeNotificationTest, RemindersDoNotHoldUpTheExitRequestAndAnEndedProgramShowsThemAgain) {
  const std::uint32_t address = StoreNotification("Call Ann", "Friday", AddSeconds(m_now, -1), 1);
  LoadPendingNotifications();
  m_main->Tick();
  ASSERT_EQ(OpenReminders().size(), 1u);
  static bool exited = false;
  exited = false;
  gMainWindowHooks.exitConfirmed = [](HWND) { exited = true; };
  EXPECT_EQ(AnswerExitRequest(m_main->Handle()), kExitRequestAccepted);
  EXPECT_TRUE(exited);

  // The program ends with the reminder open: the record stays, and the next
  // start shows it again.
  m_main.reset();
  EXPECT_TRUE(OpenReminderWindows().empty());
  ASSERT_EQ(StoredNotifications().size(), 1u);
  m_main = std::make_unique<TestMainWindow>();
  LoadPendingNotifications();
  m_main->Tick();
  ASSERT_EQ(OpenReminders().size(), 1u);
  EXPECT_EQ(OpenReminders()[0].caption, "Call Ann");
  PressOk(OpenReminders()[0]);
  EXPECT_TRUE(StoredNotifications().empty());
  EXPECT_NE(address, 0u);
}

TEST_F(TimeNotificationTest, TheProgramLoopGivesAReminderItsKeyboardEnterDismissesAndAltSSnoozes) {
  StoreNotification("Keys", "k", AddSeconds(m_now, -1), 0);
  StoreNotification("Enter", "e", AddSeconds(m_now, -1), 0);
  LoadPendingNotifications();
  m_main->Tick();
  std::vector<ShownReminder> shown = OpenReminders();
  ASSERT_EQ(shown.size(), 2u);
  // The user brings each forward; the keys arrive through the program's loop.
  SetForegroundWindow(shown[0].window);
  HWND ok = GetDlgItem(shown[0].window, IDOK);
  SetFocus(ok);
  PostMessageA(ok, WM_SYSCHAR, 's', 0x201F0001);  // Alt+S
  SetForegroundWindow(shown[1].window);
  HWND secondOk = GetDlgItem(shown[1].window, IDOK);
  SetFocus(secondOk);
  PostMessageA(secondOk, WM_KEYDOWN, VK_RETURN, 0x001C0001);
  PostMessageA(secondOk, WM_KEYUP, VK_RETURN, 0xC01C0001);
  PostQuitMessage(0);
  EXPECT_EQ(RunMessageLoop(nullptr), 0);
  EXPECT_TRUE(OpenReminders().empty());
  std::vector<DatabaseDataTimeNotif> stored = StoredNotifications();
  ASSERT_EQ(stored.size(), 1u);
  EXPECT_EQ(RecordTextOf(stored[0].title), "Keys");
  EXPECT_TRUE(SameSecond(stored[0].time, AddSeconds(m_now, 600)));
}
