// The test main window, the fixture's data folder and clock, and the editor
// driver.
#include "TimeNotificationTestSupport.h"

#include <commctrl.h>

#include <cstring>

#include "Library/CListView.h"
#include "Library/CString.h"
#include "Managers/KindManager.h"
#include "Managers/TimeNotificationEditor.h"
#include "Managers/TimeNotificationScheduler.h"
#include "Records/DatabaseObject.h"
#include "Records/RecordText.h"
#include "Resources/MainWindowIds.h"
#include "Resources/TimeNotificationEditorIds.h"
#include "Library/CSplitter.h"
#include "Library/CWinApp.h"
#include "Shell/MainWindow.h"
#include "Support/MessagePump.h"

namespace qmtimenotif {

TestMainWindow::TestMainWindow() : m_window(nullptr), m_savedHooks(gMainWindowHooks) {
  static bool registered = false;
  HINSTANCE instance = GetModuleHandleA(nullptr);
  if (!registered) {
    INITCOMMONCONTROLSEX controls = {
        sizeof controls, ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_BAR_CLASSES | ICC_COOL_CLASSES};
    InitCommonControlsEx(&controls);
    gApp.SetInstance(instance);
    MainWindowClass(instance).Register();
    CSplitter::RegisterBarClass(instance);
    registered = true;
  }
  // As start-up installs it: every tick of the window's timer is a check.
  gMainWindowHooks.timerTick = CheckNotifications;
  m_window = CreateMainWindow(instance);
  SetWindowPos(m_window, nullptr, 0, 0, 900, 600, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

TestMainWindow::~TestMainWindow() {
  if (m_window != nullptr && IsWindow(m_window)) DestroyWindow(m_window);
  // Destroying the main window posts the quit message; the pump drops it.
  qmtest::PumpMessages();
  gMainWindowHooks = m_savedHooks;
}

void TestMainWindow::Tick() const {
  SendMessageA(m_window, WM_TIMER, 1, 0);
}

std::vector<Row> TestMainWindow::Rows() const {
  CListView list(m_window, ID_RECORD_LIST);
  HWND header = reinterpret_cast<HWND>(list.Send(LVM_GETHEADER));
  int columns = static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
  std::vector<Row> rows;
  for (int item = 0; item < list.GetItemCount(); ++item) {
    Row row;
    row.address = static_cast<std::uint32_t>(list.GetItemParam(item));
    for (int column = 0; column < columns; ++column) {
      CString text;
      list.GetItemText(item, column, text);
      row.texts.emplace_back(text.GetString());
    }
    rows.push_back(row);
  }
  return rows;
}

int TestMainWindow::RowOf(std::uint32_t address) const {
  std::vector<Row> rows = Rows();
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (rows[i].address == address) return static_cast<int>(i);
  }
  return -1;
}

void TestMainWindow::FocusRow(int index) const {
  CListView list(m_window, ID_RECORD_LIST);
  list.SetItemState(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  list.SetItemState(index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

void TestMainWindow::Command(int id) const {
  SendMessageA(m_window, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

void TestMainWindow::DoubleClickRecordList() const {
  NMHDR header = {};
  header.hwndFrom = GetDlgItem(m_window, ID_RECORD_LIST);
  header.idFrom = ID_RECORD_LIST;
  header.code = NM_DBLCLK;
  SendMessageA(m_window, WM_NOTIFY, ID_RECORD_LIST, reinterpret_cast<LPARAM>(&header));
}

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

namespace {

// The driver's state while one editor runs; the thread timer reaches it
// through this pointer.
struct EditorDriver {
  const std::function<void(HWND)>* act = nullptr;
  HWND dialog = nullptr;
  bool acted = false;
  int ticksAfterAct = 0;
  bool timedOut = false;
};
EditorDriver* gDriver = nullptr;

BOOL CALLBACK FindEditor(HWND window, LPARAM found) {
  char className[16] = {};
  char title[64] = {};
  GetClassNameA(window, className, sizeof className);
  GetWindowTextA(window, title, sizeof title);
  if (std::strcmp(className, "#32770") == 0 && std::strcmp(title, "Time Notification") == 0 &&
      IsWindowVisible(window)) {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

void CALLBACK DriverTick(HWND, UINT, UINT_PTR timer, DWORD) {
  EditorDriver* driver = gDriver;
  if (driver == nullptr) {
    KillTimer(nullptr, timer);
    return;
  }
  if (!driver->acted) {
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindEditor, reinterpret_cast<LPARAM>(&dialog));
    if (dialog == nullptr) return;
    driver->acted = true;
    driver->dialog = dialog;
    (*driver->act)(dialog);
    return;
  }
  // act should have ended the dialog; after two seconds of ticks it is
  // cancelled so that the test fails instead of hanging.
  if (IsWindow(driver->dialog) && ++driver->ticksAfterAct > 200) {
    driver->timedOut = true;
    PostMessageA(driver->dialog, WM_COMMAND, MAKEWPARAM(IDC_TIME_NOTIFICATION_CANCEL, BN_CLICKED), 0);
  }
}

}  // namespace

bool DriveEditor(const std::function<void()>& open, const std::function<void(HWND)>& act) {
  EditorDriver driver;
  driver.act = &act;
  EditorDriver* previous = gDriver;
  gDriver = &driver;
  UINT_PTR timer = SetTimer(nullptr, 0, 10, DriverTick);
  open();
  KillTimer(nullptr, timer);
  gDriver = previous;
  return driver.acted && !driver.timedOut;
}

void TypeText(HWND dialog, int id, const std::string& text) {
  SetWindowTextA(GetDlgItem(dialog, id), text.c_str());
}

std::string TextOf(HWND dialog, int id) {
  char buffer[1024] = {};
  GetWindowTextA(GetDlgItem(dialog, id), buffer, sizeof buffer);
  return buffer;
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
  HWND combo = GetDlgItem(dialog, IDC_TIME_NOTIFICATION_TYPE);
  SendMessageA(combo, CB_SETCURSEL, index, 0);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_TIME_NOTIFICATION_TYPE, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(combo));
}

void Press(HWND dialog, int id) {
  SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

}  // namespace qmtimenotif
