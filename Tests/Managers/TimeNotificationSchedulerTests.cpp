// The scheduler over the real store, record list and reminder windows: what
// is shown, when, how often, and what is left afterwards.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "Managers/KindManager.h"
#include "Managers/PendingNotifications.h"
#include "Managers/TimeNotificationScheduler.h"
#include "Records/DataFolders.h"
#include "Records/RecordText.h"
#include "Resources/MainWindowIds.h"
#include "Shell/Reminders.h"
#include "Support/MessagePump.h"
#include "TimeNotificationTestSupport.h"

using namespace qmtimenotif;

namespace {

std::vector<std::uint32_t> PendingAddresses() {
  std::vector<std::uint32_t> addresses;
  for (int i = 0; i < PendingNotifications.GetSize(); ++i) {
    addresses.push_back(PendingNotifications[i].ownAddress);
  }
  return addresses;
}

}  // namespace

TEST(TimeNotificationDueTest, DueOnlyWhenEarlierToTheSecondIgnoringWeekdayAndMilliseconds) {
  const RecordTime now = MakeTime(2003, 11, 28, 10, 0, 0, 500, 5);
  // Same second: not due, whatever the weekday and milliseconds say.
  EXPECT_FALSE(IsNotificationDue(MakeTime(2003, 11, 28, 10, 0, 0, 0, 1), now));
  EXPECT_FALSE(IsNotificationDue(MakeTime(2003, 11, 28, 10, 0, 0, 999, 6), now));
  EXPECT_FALSE(IsNotificationDue(now, MakeTime(2003, 11, 28, 10, 0, 0, 0, 0)));
  // One unit earlier in any field: due; later: not.
  const int earlier[][6] = {{2002, 11, 28, 10, 0, 0}, {2003, 10, 28, 10, 0, 0},  {2003, 11, 27, 10, 0, 0},
                            {2003, 11, 28, 9, 0, 0},  {2003, 11, 28, 9, 59, 59}, {2003, 11, 28, 9, 59, 58}};
  for (const auto& t : earlier) {
    EXPECT_TRUE(IsNotificationDue(MakeTime(t[0], t[1], t[2], t[3], t[4], t[5]), now)) << t[0];
    EXPECT_FALSE(IsNotificationDue(now, MakeTime(t[0], t[1], t[2], t[3], t[4], t[5]))) << t[0];
  }
  // The first difference decides: an earlier year wins over a later month,
  // day, hour, minute and second.
  EXPECT_TRUE(IsNotificationDue(MakeTime(2002, 12, 31, 23, 59, 59), now));
  EXPECT_FALSE(IsNotificationDue(MakeTime(2003, 12, 1, 0, 0, 0), now));
  EXPECT_TRUE(IsNotificationDue(MakeTime(2003, 11, 28, 9, 59, 59, 999), MakeTime(2003, 11, 28, 10, 0, 0, 0)));
}

TEST_F(TimeNotificationTest, StoredPastNotificationsAreShownAtTheFirstTickEachOnceAndGoOnlyWithOk) {
  const std::uint32_t future = StoreNotification("Later", "Not yet", AddSeconds(m_now, 60), 0);
  const std::uint32_t urgent =
      StoreNotification("Dentist", "Call the dentist\r\nbefore noon", AddSeconds(m_now, -3600), 1);
  const std::uint32_t normal = StoreNotification("Milk", "Buy milk", AddSeconds(m_now, -1), 0);
  ASSERT_NE(future, 0u);
  ASSERT_NE(urgent, 0u);
  ASSERT_NE(normal, 0u);
  LoadPendingNotifications();  // start-up
  EXPECT_EQ(PendingAddresses(), (std::vector<std::uint32_t>{future, urgent, normal}));
  m_main->Command(IDM_SHOW_TIME_NOTIFICATIONS);

  // Both due ones get a window at the first tick, in list order, with one
  // sound for the batch; no box.
  m_main->Tick();
  std::vector<ShownReminder> shown = OpenReminders();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].caption, "Dentist");
  EXPECT_EQ(shown[0].text, "Call the dentist\r\nbefore noon");
  EXPECT_TRUE(shown[0].urgent);
  EXPECT_EQ(shown[0].time, "Set for 08:05:03 - 11/28/2003");
  EXPECT_EQ(shown[1].caption, "Milk");
  EXPECT_EQ(shown[1].text, "Buy milk");
  EXPECT_FALSE(shown[1].urgent);
  EXPECT_TRUE(m_boxes.shown.empty());
  EXPECT_EQ(s_aliasCalls, 1);
  EXPECT_EQ(s_beeps, 1);
  EXPECT_EQ(PendingAddresses(), (std::vector<std::uint32_t>{future}));

  // While the windows are open the records stay stored and listed, and no
  // tick shows them again.
  m_main->Tick();
  m_main->Tick();
  EXPECT_EQ(OpenReminders().size(), 2u);
  EXPECT_EQ(StoredNotifications().size(), 3u);
  EXPECT_EQ(m_main->Rows().size(), 3u);
  EXPECT_EQ(s_beeps, 1);

  // OK deletes the record and its row; nothing else goes.
  PressOk(shown[0]);
  EXPECT_FALSE(IsWindow(shown[0].window));
  ASSERT_EQ(OpenReminders().size(), 1u);
  EXPECT_EQ(m_main->RowOf(urgent), -1);
  std::vector<DatabaseDataTimeNotif> stored = StoredNotifications();
  ASSERT_EQ(stored.size(), 2u);
  EXPECT_EQ(RecordTextOf(stored[0].title), "Later");
  EXPECT_EQ(RecordTextOf(stored[1].title), "Milk");
  PressOk(OpenReminders()[0]);
  EXPECT_TRUE(OpenReminders().empty());
  std::vector<Row> rows = m_main->Rows();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].address, future);

  // Further ticks show nothing more until the remaining one falls due.
  m_main->Tick();
  EXPECT_TRUE(OpenReminders().empty());
  m_now = AddSeconds(m_now, 61);
  m_main->Tick();
  m_main->Tick();
  ASSERT_EQ(OpenReminders().size(), 1u);
  EXPECT_EQ(OpenReminders()[0].caption, "Later");
  EXPECT_EQ(s_aliasCalls, 2);
  PressOk(OpenReminders()[0]);
  EXPECT_TRUE(m_main->Rows().empty());
  EXPECT_TRUE(StoredNotifications().empty());
  EXPECT_EQ(PendingNotifications.GetSize(), 0);
}

TEST_F(TimeNotificationTest, ANotificationForTheCurrentSecondIsShownOnlyAfterThatSecond) {
  m_now = MakeTime(2003, 11, 28, 10, 0, 0, 0, 5);
  StoreNotification("On the dot", "Ten o'clock", MakeTime(2003, 11, 28, 10, 0, 0, 999, 2), 0);
  LoadPendingNotifications();
  m_main->Tick();
  m_now.milliseconds = 999;
  m_main->Tick();
  EXPECT_TRUE(OpenReminders().empty());
  m_now = MakeTime(2003, 11, 28, 10, 0, 1, 0, 5);
  m_main->Tick();
  ASSERT_EQ(OpenReminders().size(), 1u);
  EXPECT_EQ(OpenReminders()[0].caption, "On the dot");
}

TEST_F(TimeNotificationTest, TwoHundredDueAtOnceEachShowOnceTenAtATimeInOrder) {
  for (int i = 0; i < 200; ++i) StoreNotification("Many", std::to_string(i), AddSeconds(m_now, -60), 0);
  LoadPendingNotifications();
  m_main->Tick();
  // Ticks while windows are open (their loops dispatch the timer) show
  // nothing twice.
  m_main->Tick();
  EXPECT_EQ(PendingNotifications.GetSize(), 0);
  ASSERT_EQ(OpenReminders().size(), 10u);
  EXPECT_EQ(WaitingReminderCount(), 190);
  EXPECT_EQ(s_beeps, 1);

  // Cascaded: each caption lies below the one before, not hidden by it.
  std::vector<ShownReminder> first = OpenReminders();
  for (std::size_t i = 1; i < first.size(); ++i) {
    RECT above = {};
    RECT below = {};
    GetWindowRect(first[i - 1].window, &above);
    GetWindowRect(first[i].window, &below);
    EXPECT_GE(below.top - above.top, GetSystemMetrics(SM_CYCAPTION)) << i;
    EXPECT_GT(below.left, above.left) << i;
  }

  // Each OK opens the next waiting one; every text is seen once, in order.
  std::vector<std::string> seen;
  for (int round = 0; round < 400 && !OpenReminders().empty(); ++round) {
    ShownReminder oldest = OpenReminders().front();
    seen.push_back(oldest.text);
    PressOk(oldest);
    EXPECT_LE(OpenReminders().size(), 10u);
    if (round % 50 == 0) m_main->Tick();
  }
  ASSERT_EQ(seen.size(), 200u);
  for (int i = 0; i < 200; ++i) EXPECT_EQ(seen[i], std::to_string(i));
  EXPECT_TRUE(StoredNotifications().empty());
  EXPECT_EQ(s_beeps, 1);
}

TEST_F(TimeNotificationTest, DeletingBeforeTheTimeOrDeletingAllMeansNeverShown) {
  const std::uint32_t keep = StoreNotification("Keep", "stays", AddSeconds(m_now, 10), 0);
  const std::uint32_t drop = StoreNotification("Drop", "deleted", AddSeconds(m_now, 10), 1);
  LoadPendingNotifications();
  m_main->Command(IDM_SHOW_TIME_NOTIFICATIONS);
  m_main->FocusRow(m_main->RowOf(drop));
  m_main->Command(IDM_DELETE_TIME_NOTIFICATIONS);
  EXPECT_EQ(PendingAddresses(), (std::vector<std::uint32_t>{keep}));
  m_now = AddSeconds(m_now, 20);
  m_main->Tick();
  ASSERT_EQ(OpenReminders().size(), 1u);
  EXPECT_EQ(OpenReminders()[0].caption, "Keep");
  PressOk(OpenReminders()[0]);

  // Delete All: the question is answered Yes (its default button).
  StoreNotification("A", "a", AddSeconds(m_now, 10), 0);
  StoreNotification("B", "b", AddSeconds(m_now, 10), 0);
  LoadPendingNotifications();
  m_main->Command(IDM_SHOW_TIME_NOTIFICATIONS);
  m_main->Command(IDM_DELETE_ALL_TIME_NOTIFICATIONS);
  ASSERT_EQ(m_boxes.shown.size(), 1u);
  EXPECT_EQ(m_boxes.shown[0].text, "Would you like to delete All Time Notifications from Your Diary?");
  EXPECT_EQ(PendingNotifications.GetSize(), 0);
  m_now = AddSeconds(m_now, 3600);
  m_main->Tick();
  EXPECT_TRUE(OpenReminders().empty());
  EXPECT_TRUE(StoredNotifications().empty());
}

TEST_F(TimeNotificationTest, AReminderWhoseRecordCannotBeReadGoesWithOkAfterTheWarning) {
  // The element's address names no readable record: OK warns (the store's
  // box, whose loop dispatches ticks) and the window goes, shown once.
  DatabaseDataTimeNotif ghost{};
  CopyRecordText(ghost.title, "Ghost");
  CopyRecordText(ghost.text, "no record");
  ghost.time = AddSeconds(m_now, -1);
  ghost.ownAddress = 0x7FFFFF00u;
  ASSERT_TRUE(ArmNotification(ghost));
  m_boxes.whileOpen = [this](std::size_t, const ShownBox&) { m_main->Tick(); };
  m_main->Tick();
  ASSERT_EQ(OpenReminders().size(), 1u);
  EXPECT_EQ(OpenReminders()[0].caption, "Ghost");
  PressOk(OpenReminders()[0]);
  m_main->Tick();
  ASSERT_EQ(m_boxes.shown.size(), 1u);
  EXPECT_EQ(m_boxes.shown[0].text, "Database Object CRC Error");
  EXPECT_TRUE(OpenReminders().empty());
  EXPECT_EQ(PendingNotifications.GetSize(), 0);
}

TEST_F(TimeNotificationTest, ATickOrOkDuringAnotherActionsWarningWaitsSoTheFreedBlockStaysListed) {
  // A damaged record makes showing the list warn while its store is open; a
  // tick, or an OK, dispatched by that warning must not remove a record from
  // the same file, or the show's older header copy, written back on close,
  // would drop the freed block from the free-space list.
  const std::uint32_t due = StoreNotification("Due", "now", AddSeconds(m_now, -1), 0);
  const std::uint32_t damaged = StoreNotification("Damaged", "later", AddSeconds(m_now, 600), 0);
  ASSERT_NE(due, 0u);
  ASSERT_NE(damaged, 0u);
  LoadPendingNotifications();
  const std::string path = StoreFilePath(RecordKind::TimeNotif);
  {
    std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(damaged + 300);
    file.put('#');
  }
  m_boxes.whileOpen = [this](std::size_t, const ShownBox& box) {
    if (box.text == "Database Object CRC Error") m_main->Tick();
  };
  m_main->Command(IDM_SHOW_TIME_NOTIFICATIONS);
  ASSERT_EQ(m_boxes.shown.size(), 1u);
  EXPECT_EQ(m_boxes.shown[0].text, "Database Object CRC Error");
  EXPECT_EQ(PendingNotifications.GetSize(), 2);
  EXPECT_TRUE(OpenReminders().empty());

  m_boxes.whileOpen = nullptr;
  m_main->Tick();
  ASSERT_EQ(OpenReminders().size(), 1u);
  ShownReminder reminder = OpenReminders()[0];
  EXPECT_EQ(reminder.caption, "Due");

  // OK pressed while the list's store is open behind its warning: it waits,
  // and deletes once that action has closed the store.
  m_boxes.whileOpen = [&](std::size_t, const ShownBox& box) {
    if (box.text != "Database Object CRC Error") return;
    PressOk(reminder);
    EXPECT_TRUE(IsWindow(reminder.window));
  };
  m_main->Command(IDM_SHOW_TIME_NOTIFICATIONS);
  m_boxes.whileOpen = nullptr;
  EXPECT_EQ(StoredNotifications().size(), 2u);
  EXPECT_TRUE(qmtest::PumpUntil([&] { return !IsWindow(reminder.window); }, 3000));
  EXPECT_EQ(m_main->RowOf(due), -1);
  // The freed block heads the free-space list (first header word).
  std::ifstream file(path, std::ios::binary);
  unsigned char head[4] = {};
  file.read(reinterpret_cast<char*>(head), 4);
  const std::uint32_t freeSpace = head[0] | (head[1] << 8) | (head[2] << 16) | (std::uint32_t(head[3]) << 24);
  EXPECT_EQ(freeSpace, due - 28u);
}

TEST_F(TimeNotificationTest, ARecordThatCannotBeReadIsNeitherArmedNorShownNorDeleted) {
  const std::uint32_t good = StoreNotification("Good", "read whole", AddSeconds(m_now, -5), 0);
  const std::uint32_t cut = StoreNotification("Cut", "half gone", AddSeconds(m_now, -5), 0);
  ASSERT_NE(good, 0u);
  ASSERT_NE(cut, 0u);
  // The file ends inside the second record; its header still counts it.
  std::filesystem::resize_file(StoreFilePath(RecordKind::TimeNotif), cut + 20);
  LoadPendingNotifications();
  ASSERT_EQ(m_boxes.shown.size(), 1u);
  EXPECT_EQ(m_boxes.shown[0].text, "Database Object CRC Error");
  EXPECT_EQ(PendingAddresses(), (std::vector<std::uint32_t>{good}));
  m_main->Tick();
  m_main->Tick();
  // Good's window once; the damaged record gives warnings only, never a
  // reminder of zeros.
  ASSERT_EQ(OpenReminders().size(), 1u);
  EXPECT_EQ(OpenReminders()[0].caption, "Good");
  for (const ShownBox& box : m_boxes.shown) EXPECT_EQ(box.caption, "Database Handling");
  EXPECT_EQ(PendingNotifications.GetSize(), 0);
}
