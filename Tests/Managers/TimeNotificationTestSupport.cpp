// The fixture's data folder and clock, and the editor's own controls.
#include "TimeNotificationTestSupport.h"

#include <commctrl.h>

#include <cstring>

#include "Managers/KindManager.h"
#include "Records/DatabaseObject.h"
#include "Records/RecordText.h"
#include "Resources/TimeNotificationEditorIds.h"

namespace qmtimenotif {

void TimeNotificationTest::SetUp() {
  m_appData = std::make_unique<ScopedApplicationDataFolder>(m_folder.Path().string());
  MakeDataFolders();
  m_now = MakeTime(2003, 11, 28, 9, 5, 3, 250, 5);
  m_clock = std::make_unique<ScopedLocalClock>([this] { return m_now; });
  m_main = std::make_unique<TestMainWindow>();
  ASSERT_NE(m_main->Handle(), nullptr);
  ASSERT_TRUE(EnsureStore(RecordKind::TimeNotif));
}

void TimeNotificationTest::TearDown() {
  m_main.reset();
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
