// The main-window test fixture and its readers.
#include "ShellTestSupport.h"

#include "Library/CSplitter.h"
#include "Library/CWinApp.h"
#include "Resources/MainWindowIds.h"
#include "Shell/MainWindow.h"

namespace shelltest {

void RegisterWindowClasses() {
  static bool registered = false;
  if (registered) return;
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES | ICC_COOL_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  HINSTANCE instance = GetModuleHandleA(nullptr);
  gApp.SetInstance(instance);
  MainWindowClass(instance).Register();
  CSplitter::RegisterBarClass(instance);
  registered = true;
}

RECT ChildRect(HWND child) {
  RECT rect = {};
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

std::vector<ToolbarButton> ReadToolbar(HWND toolbar) {
  std::vector<ToolbarButton> buttons;
  const int count = static_cast<int>(SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0));
  for (int index = 0; index < count; ++index) {
    TBBUTTON button = {};
    SendMessageA(toolbar, TB_GETBUTTON, index, reinterpret_cast<LPARAM>(&button));
    ToolbarButton read{button.iBitmap, button.idCommand, "", (button.fsStyle & TBSTYLE_SEP) != 0,
                       (button.fsState & TBSTATE_ENABLED) != 0};
    if (!read.separator) {
      char label[128] = {};
      SendMessageA(toolbar, TB_GETBUTTONTEXTA, button.idCommand, reinterpret_cast<LPARAM>(label));
      read.label = label;
    } else {
      read.image = -1;
      read.command = 0;
    }
    buttons.push_back(read);
  }
  return buttons;
}

std::vector<ListColumn> ReadColumns(HWND list) {
  std::vector<ListColumn> columns;
  for (int index = 0;; ++index) {
    char title[128] = {};
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = title;
    column.cchTextMax = sizeof title;
    if (!SendMessageA(list, LVM_GETCOLUMNA, index, reinterpret_cast<LPARAM>(&column))) break;
    columns.push_back({title, column.cx});
  }
  return columns;
}

std::string ReadCell(HWND list, int row, int column) {
  char text[512] = {};
  LVITEMA item = {};
  item.iSubItem = column;
  item.pszText = text;
  item.cchTextMax = sizeof text;
  SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
  return text;
}

std::string ReadStatusText(HWND status, int part) {
  char text[256] = {};
  SendMessageA(status, SB_GETTEXTA, part, reinterpret_cast<LPARAM>(text));
  return text;
}

std::vector<std::string> ReadMenu(HMENU menu) {
  std::vector<std::string> items;
  const int count = GetMenuItemCount(menu);
  for (int position = 0; position < count; ++position) {
    char text[128] = {};
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING | MIIM_SUBMENU;
    info.dwTypeData = text;
    info.cch = sizeof text;
    GetMenuItemInfoA(menu, position, TRUE, &info);
    if (info.fType & MFT_SEPARATOR) {
      items.push_back("-");
    } else if (info.hSubMenu) {
      items.push_back(std::string("> ") + text);
    } else {
      items.push_back(std::to_string(info.wID) + " " + text);
    }
  }
  return items;
}

void MainWindowTest::SetUp() {
  RegisterWindowClasses();
  m_appData = std::make_unique<ScopedApplicationDataFolder>(m_folder.Path().string());
  MakeDataFolders();
  m_savedHooks = gMainWindowHooks;
  m_window = CreateMainWindow(GetModuleHandleA(nullptr));
  // Created with y 0, which the platform takes as the show command (hidden)
  // for a visible window at the default position; start-up shows it. Tests
  // that need it on screen show it themselves (under a bare X server each
  // hiding of a shown window waits for the server).
  SetWindowPos(m_window, nullptr, 0, 0, 900, 600, SWP_NOZORDER | SWP_NOACTIVATE);
  PumpMessages();
}

void MainWindowTest::TearDown() {
  if (m_window && IsWindow(m_window)) DestroyWindow(m_window);
  PumpMessages();
  gMainWindowHooks = m_savedHooks;
  m_appData.reset();
}

HWND MainWindowTest::RecordList() const {
  return Child(ID_RECORD_LIST);
}
HWND MainWindowTest::ManagerList() const {
  return Child(ID_MANAGER_LIST);
}
HWND MainWindowTest::Rebar() const {
  return Child(ID_REBAR);
}
HWND MainWindowTest::MainToolbar() const {
  return GetDlgItem(Rebar(), ID_MAIN_TOOLBAR);
}
HWND MainWindowTest::EditToolbar() const {
  return GetDlgItem(Rebar(), ID_EDIT_TOOLBAR);
}
HWND MainWindowTest::StatusBar() const {
  return Child(ID_STATUS_BAR);
}
HWND MainWindowTest::ProgressBar() const {
  return GetDlgItem(StatusBar(), ID_PROGRESS_BAR);
}

void MainWindowTest::Command(int id) const {
  SendMessageA(m_window, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

LRESULT MainWindowTest::NotifyFrom(HWND control, UINT code) const {
  NMITEMACTIVATE notice = {};
  notice.hdr.hwndFrom = control;
  notice.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(control));
  notice.hdr.code = code;
  notice.iItem = -1;
  return SendMessageA(m_window, WM_NOTIFY, notice.hdr.idFrom, reinterpret_cast<LPARAM>(&notice));
}

void MainWindowTest::FocusRow(int row) const {
  ListView_SetItemState(RecordList(), -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  ListView_SetItemState(RecordList(), row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

}  // namespace shelltest
