// The fixture's data folder and clock, and the editor's own controls.
#include "TimeNotificationTestSupport.h"

#include <commctrl.h>
#include <mmsystem.h>

#include <cstring>

#include "Managers/KindManager.h"
#include "Records/DatabaseObject.h"
#include "Records/RecordText.h"
#include "Resources/ReminderWindowIds.h"
#include "Resources/TimeNotificationEditorIds.h"
#include "Shell/FirstStart.h"
#include "Shell/ReminderSound.h"
#include "Shell/Reminders.h"

namespace qmtimenotif {

int TimeNotificationTest::s_aliasCalls = 0;
int TimeNotificationTest::s_beeps = 0;
bool TimeNotificationTest::s_aliasPlays = false;

namespace {

ReminderSoundSeam gSavedSound;

bool RecordAlias(const char* alias, DWORD flags) {
  EXPECT_STREQ(alias, "Notification.Reminder");
  EXPECT_EQ(flags, static_cast<DWORD>(SND_ALIAS | SND_NODEFAULT | SND_ASYNC));
  ++TimeNotificationTest::s_aliasCalls;
  return TimeNotificationTest::s_aliasPlays;
}

void RecordBeep(UINT type) {
  EXPECT_EQ(type, static_cast<UINT>(MB_ICONASTERISK));
  ++TimeNotificationTest::s_beeps;
}

std::string WindowText(HWND window) {
  char text[512] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

}  // namespace

bool SameSecond(const RecordTime& a, const RecordTime& b) {
  return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour &&
         a.minute == b.minute && a.second == b.second;
}

std::vector<ShownReminder> OpenReminders() {
  std::vector<ShownReminder> shown;
  for (HWND window : OpenReminderWindows()) {
    ShownReminder reminder;
    reminder.window = window;
    reminder.caption = WindowText(window);
    reminder.text = WindowText(GetDlgItem(window, IDC_REMINDER_TEXT));
    reminder.time = WindowText(GetDlgItem(window, IDC_REMINDER_TIME));
    HICON icon = reinterpret_cast<HICON>(SendDlgItemMessageA(window, IDC_REMINDER_ICON, STM_GETICON, 0, 0));
    reminder.urgent = icon == LoadIconA(nullptr, IDI_WARNING);
    EXPECT_TRUE(reminder.urgent || icon == LoadIconA(nullptr, IDI_INFORMATION)) << reminder.caption;
    shown.push_back(reminder);
  }
  return shown;
}

namespace {

// The button's notification, as a click gives it, without activating the
// window (the keyboard and the mouse reach it in the end-to-end tests).
void Click(HWND window, int id) {
  SendMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(window, id)));
}

}  // namespace

void PressOk(const ShownReminder& reminder) {
  Click(reminder.window, IDOK);
}

void PressSnooze(const ShownReminder& reminder, int choice) {
  if (choice >= 0) qmtest::ChooseListItem(reminder.window, IDC_REMINDER_SNOOZE_CHOICE, choice);
  Click(reminder.window, IDC_REMINDER_SNOOZE);
}

void TimeNotificationTest::SetUp() {
  gSavedSound = gReminderSound;
  gReminderSound = {RecordAlias, RecordBeep};
  s_aliasCalls = s_beeps = 0;
  s_aliasPlays = false;
  // The snooze choice starts at its default in every test.
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kFirstStartKey, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
    RegDeleteValueA(key, "ReminderSnooze");
    RegCloseKey(key);
  }
  m_appData = std::make_unique<ScopedApplicationDataFolder>(m_folder.Path().string());
  MakeDataFolders();
  m_now = MakeTime(2003, 11, 28, 9, 5, 3, 250, 5);
  m_clock = std::make_unique<ScopedLocalClock>([this] { return m_now; });
  m_main = std::make_unique<TestMainWindow>();
  ASSERT_NE(m_main->Handle(), nullptr);
  ASSERT_TRUE(EnsureStore(RecordKind::TimeNotif));
}

void TimeNotificationTest::TearDown() {
  // Destroying the main window closes every reminder window.
  m_main.reset();
  EXPECT_TRUE(OpenReminderWindows().empty());
  gReminderSound = gSavedSound;
  m_clock.reset();
  m_appData.reset();
}

std::uint32_t TimeNotificationTest::StoreNotification(const std::string& title, const std::string& text,
                                                      const RecordTime& time, int type) {
  auto store = OpenStore<DatabaseDataTimeNotif>();
  if (!store) return 0;
  DatabaseDataTimeNotif& record = store->Data();
  CopyRecordText(record.date, "09:00:00 11/28/2003");
  CopyRecordText(record.title, title.c_str());
  CopyRecordText(record.text, text.c_str());
  record.type = type;
  record.time = time;
  std::uint32_t address = store->AddRecord();
  CloseStore(store);
  return address;
}

std::vector<DatabaseDataTimeNotif> TimeNotificationTest::StoredNotifications() const {
  std::vector<DatabaseDataTimeNotif> records;
  auto store = OpenStore<DatabaseDataTimeNotif>();
  if (!store) return records;
  store->ForEachRecordOf(
      [&records](const DatabaseDataTimeNotif& record, std::uint32_t) { records.push_back(record); });
  CloseStore(store);
  return records;
}

bool DriveEditor(const std::function<void()>& open, const std::function<void(HWND)>& act) {
  return qmtest::DriveDialog("Time Notification", open, act);
}

void SetPickerTime(HWND dialog, const RecordTime& time) {
  SYSTEMTIME value;
  std::memcpy(&value, &time, sizeof value);
  SendMessageA(GetDlgItem(dialog, IDC_TIME_NOTIFICATION_TIME), DTM_SETSYSTEMTIME, GDT_VALID,
               reinterpret_cast<LPARAM>(&value));
}

RecordTime PickerTime(HWND dialog) {
  SYSTEMTIME value = {};
  SendMessageA(GetDlgItem(dialog, IDC_TIME_NOTIFICATION_TIME), DTM_GETSYSTEMTIME, 0,
               reinterpret_cast<LPARAM>(&value));
  RecordTime time;
  std::memcpy(&time, &value, sizeof time);
  return time;
}

void ChooseType(HWND dialog, int index) {
  qmtest::ChooseListItem(dialog, IDC_TIME_NOTIFICATION_TYPE, index);
}

}  // namespace qmtimenotif
