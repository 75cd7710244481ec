// The main window under test and the reading of its record list.
#include "Support/TestMainWindow.h"

#include <commctrl.h>

#include "Library/CListView.h"
#include "Library/CSplitter.h"
#include "Library/CString.h"
#include "Library/CWinApp.h"
#include "Managers/TimeNotificationScheduler.h"
#include "Resources/MainWindowIds.h"
#include "Shell/MainWindow.h"
#include "Shell/Reminders.h"
#include "Support/MessagePump.h"

namespace qmtest {

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
  PumpMessages();
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

void MainWindowTest::SetUp() {
  m_appData = std::make_unique<ScopedApplicationDataFolder>(m_folder.Path().string());
  MakeDataFolders();
  m_main = std::make_unique<TestMainWindow>();
  ASSERT_NE(m_main->Handle(), nullptr);
}

void MainWindowTest::TearDown() {
  m_main.reset();
  m_appData.reset();
}

}  // namespace qmtest
