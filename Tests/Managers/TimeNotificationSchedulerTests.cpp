// The scheduler over the real store, record list and boxes: what is shown,
// when, how often, and what is left afterwards.
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
#include "TimeNotificationTestSupport.h"

using namespace qmtimenotif;

namespace {

constexpr unsigned kIconMask = 0xF0;

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

TEST_F(TimeNotificationTest, StoredPastNotificationsAreShownAtTheFirstTickEachOnceAndThenGone) {
  const std::uint32_t future = StoreNotification("Later", "Not yet", AddSeconds(m_now, 60), 0);
  const std::uint32_t urgent =
      StoreNotification("Dentist", "Call the dentist\r\nbefore noon", AddSeconds(m_now, -3600), 1);
  const std::uint32_t normal = StoreNotification("Milk", "Buy milk", AddSeconds(m_now, -1), 0);
  ASSERT_NE(future, 0u);
  ASSERT_NE(urgent, 0u);
  ASSERT_NE(normal, 0u);
  LoadPendingNotifications();  // start-up
  EXPECT_EQ(PendingAddresses(), (std::vector<std::uint32_t>{future, urgent, normal}));
  m_main->Command(IDM_SHOW_TEXT_NOTES);

  // One box per tick here: after a shown element is removed, the one that
  // moves into its place is examined at the next tick.
  m_main->Tick();
  ASSERT_EQ(m_boxes.shown.size(), 1u);
  EXPECT_EQ(m_boxes.shown[0].caption, "Dentist");
  EXPECT_EQ(m_boxes.shown[0].text, "Call the dentist\r\nbefore noon");
  EXPECT_EQ(m_boxes.shown[0].style & kIconMask, kMbIconWarning);
  EXPECT_EQ(m_boxes.shown[0].style & 0xF, kMbOk);
  EXPECT_EQ(m_boxes.shown[0].owner, m_main->Handle());
  m_main->Tick();
  ASSERT_EQ(m_boxes.shown.size(), 2u);
  EXPECT_EQ(m_boxes.shown[1].caption, "Milk");
  EXPECT_EQ(m_boxes.shown[1].text, "Buy milk");
  EXPECT_EQ(m_boxes.shown[1].style & kIconMask, kMbIconInformation);
  EXPECT_EQ(m_boxes.shown[1].owner, m_main->Handle());

  // The list on display is now the time notifications, without the shown ones.
  EXPECT_EQ(CurrentKind(), static_cast<int>(RecordKind::TimeNotif));
  std::vector<Row> rows = m_main->Rows();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].address, future);
  EXPECT_EQ(rows[0].texts.at(1), "Later");
  std::vector<DatabaseDataTimeNotif> stored = StoredNotifications();
  ASSERT_EQ(stored.size(), 1u);
  EXPECT_EQ(RecordTextOf(stored[0].title), "Later");
  EXPECT_EQ(PendingAddresses(), (std::vector<std::uint32_t>{future}));

  // Further ticks show nothing more until the remaining one falls due.
  m_main->Tick();
  m_main->Tick();
  EXPECT_EQ(m_boxes.shown.size(), 2u);
  m_now = AddSeconds(m_now, 61);
  m_main->Tick();
  m_main->Tick();
  ASSERT_EQ(m_boxes.shown.size(), 3u);
  EXPECT_EQ(m_boxes.shown[2].caption, "Later");
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
  EXPECT_TRUE(m_boxes.shown.empty());
  m_now = MakeTime(2003, 11, 28, 10, 0, 1, 0, 5);
  m_main->Tick();
  ASSERT_EQ(m_boxes.shown.size(), 1u);
  EXPECT_EQ(m_boxes.shown[0].caption, "On the dot");
}

TEST_F(TimeNotificationTest, TicksDispatchedWhileABoxIsOpenNeverShowTheSameNotificationAgain) {
  StoreNotification("First", "one", AddSeconds(m_now, -5), 0);
  StoreNotification("Second", "two", AddSeconds(m_now, -5), 1);
  StoreNotification("Third", "three", AddSeconds(m_now, 30), 0);
  LoadPendingNotifications();
  // Each box's own loop would dispatch the 500 ms timer: two ticks per box.
  // They show nothing: the boxes come one after another from one level, so
  // many due at once cannot nest message loops without bound.
  int depth = 0;
  int deepest = 0;
  m_boxes.whileOpen = [&](std::size_t, const ShownBox&) {
    deepest = std::max(deepest, ++depth);
    m_main->Tick();
    m_main->Tick();
    --depth;
  };
  m_main->Tick();
  ASSERT_EQ(m_boxes.shown.size(), 1u);
  EXPECT_EQ(m_boxes.shown[0].caption, "First");
  m_main->Tick();
  ASSERT_EQ(m_boxes.shown.size(), 2u);
  EXPECT_EQ(m_boxes.shown[1].caption, "Second");
  m_main->Tick();
  EXPECT_EQ(m_boxes.shown.size(), 2u);
  EXPECT_EQ(deepest, 1);

  // The clock moves on while the third one's box is open: still one box.
  m_now = AddSeconds(m_now, 31);
  m_main->Tick();
  ASSERT_EQ(m_boxes.shown.size(), 3u);
  EXPECT_EQ(m_boxes.shown[2].caption, "Third");
  EXPECT_TRUE(StoredNotifications().empty());
  EXPECT_TRUE(m_main->Rows().empty());

  // A hundred due at once: each shown once, never one box inside another.
  for (int i = 0; i < 100; ++i) StoreNotification("Many", std::to_string(i).c_str(), AddSeconds(m_now, -60), 0);
  LoadPendingNotifications();
  for (int tick = 0; tick < 400 && PendingNotifications.GetSize() > 0; ++tick) m_main->Tick();
  EXPECT_EQ(m_boxes.shown.size(), 3u + 100u);
  EXPECT_EQ(deepest, 1);
  std::vector<std::string> texts;
  for (std::size_t i = 3; i < m_boxes.shown.size(); ++i) texts.push_back(m_boxes.shown[i].text);
  std::sort(texts.begin(), texts.end());
  EXPECT_EQ(std::unique(texts.begin(), texts.end()), texts.end()) << "a notification shown twice";
}

TEST_F(TimeNotificationTest, DeletingBeforeTheTimeOrDeletingAllMeansNeverShown) {
  const std::uint32_t keep = StoreNotification("Keep", "stays", AddSeconds(m_now, 10), 0);
  const std::uint32_t drop = StoreNotification("Drop", "deleted", AddSeconds(m_now, 10), 1);
  LoadPendingNotifications();
  m_main->Command(IDM_SHOW_TIME_NOTIFICATIONS);
  m_main->FocusRow(m_main->RowOf(drop));
  m_boxes.answer = kIdYes;  // the question every delete asks
  m_main->Command(IDM_DELETE_TIME_NOTIFICATIONS);
  EXPECT_EQ(PendingAddresses(), (std::vector<std::uint32_t>{keep}));
  ASSERT_EQ(m_boxes.shown.size(), 1u);
  EXPECT_EQ(m_boxes.shown[0].text, "Delete 1 time notification?");
  m_boxes.shown.clear();
  m_now = AddSeconds(m_now, 20);
  m_main->Tick();
  ASSERT_EQ(m_boxes.shown.size(), 1u);
  EXPECT_EQ(m_boxes.shown[0].caption, "Keep");

  // Delete All: the question is answered Yes.
  m_boxes.shown.clear();
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
  EXPECT_EQ(m_boxes.shown.size(), 1u);
  EXPECT_TRUE(StoredNotifications().empty());
}

TEST_F(TimeNotificationTest, AWarningShownWhileRemovingDoesNotLetANestedTickShowItTwice) {
  // The element's address names no readable record: the store warns while
  // the record is being removed, and that box's loop dispatches ticks. The
  // notification is still shown, once, after the warning.
  DatabaseDataTimeNotif ghost{};
  CopyRecordText(ghost.title, "Ghost");
  CopyRecordText(ghost.text, "no record");
  ghost.time = AddSeconds(m_now, -1);
  ghost.ownAddress = 0x7FFFFF00u;
  ASSERT_TRUE(ArmNotification(ghost));
  m_boxes.whileOpen = [this](std::size_t, const ShownBox&) { m_main->Tick(); };
  m_main->Tick();
  m_main->Tick();
  ASSERT_EQ(m_boxes.shown.size(), 2u);
  EXPECT_EQ(m_boxes.shown[0].text, "Database Object CRC Error");
  EXPECT_EQ(m_boxes.shown[1].caption, "Ghost");
  EXPECT_EQ(PendingNotifications.GetSize(), 0);
}

TEST_F(TimeNotificationTest, ATickDuringAnotherActionsWarningWaitsSoTheFreedBlockStaysListed) {
  // A damaged record makes showing the list warn while its store is open; a
  // tick dispatched by that warning must not remove a record from the same
  // file, or the show's older header copy, written back on close, would drop
  // the freed block from the free-space list.
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

  m_boxes.whileOpen = nullptr;
  m_main->Tick();
  ASSERT_GE(m_boxes.shown.size(), 2u);
  EXPECT_EQ(m_boxes.shown.back().caption, "Due");
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
  // Good's box once; the damaged record gives warnings only (again when the
  // list is shown), never a box of zeros.
  int goodBoxes = 0;
  for (const ShownBox& box : m_boxes.shown) {
    if (box.caption == "Good") ++goodBoxes;
    EXPECT_TRUE(box.caption == "Good" || box.caption == "Database Handling") << box.caption;
  }
  EXPECT_EQ(goodBoxes, 1);
  EXPECT_EQ(PendingNotifications.GetSize(), 0);
}
