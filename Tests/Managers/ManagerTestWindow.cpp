// The controls are made with the styles and ids of the main window, so the
// managers find them exactly as they do in the program.
#include "ManagerTestWindow.h"

#include <commctrl.h>

#include "Library/CListView.h"
#include "Library/ListTypeAhead.h"
#include "Library/CProgress.h"
#include "Library/CRebar.h"
#include "Library/CStatusbar.h"
#include "Library/CToolbar.h"
#include "Managers/RecordListRows.h"
#include "Resources/MainWindowIds.h"

namespace {

WNDPROC gProgressProc = nullptr;
std::vector<int> gProgressPositions;
bool gHiddenAtAStep = false;

LRESULT CALLBACK RecordingProgressProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == PBM_SETPOS) {
    gProgressPositions.push_back(static_cast<int>(wParam));
    if (!IsWindowVisible(window)) gHiddenAtAStep = true;
  }
  return CallWindowProcA(gProgressProc, window, message, wParam, lParam);
}

}  // namespace

ManagerTestWindow::ManagerTestWindow()
    : m_host(WS_POPUP | WS_CLIPCHILDREN, RECT{0, 0, 760, 480}, "Managers test", "QmManagerTestWindow"),
      m_editImages(nullptr) {
  INITCOMMONCONTROLSEX controls = {
      sizeof controls, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_COOL_CLASSES | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);
  const HWND window = m_host.Handle();

  CListView list;
  list.Create(window, ID_RECORD_LIST, WS_EX_CLIENTEDGE, WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 60, 760, 380);
  list.SetExtendedStyle(LVS_EX_FULLROWSELECT);
  // Type-ahead on the titles, as on the program's record list: every message
  // a fill sends passes through it.
  InstallListTypeAhead(list.GetWindow(), 1, FindListedRowByPrefix);

  CStatusbar statusbar;
  statusbar.Create(window, ID_STATUS_BAR, 0, 0x50000100, 0, 0, 0, 0);
  const int edges[] = {150, 400, -1};
  statusbar.SetParts(3, edges);
  statusbar.SetPartText(0, "Ready");
  RECT part = {};
  statusbar.GetPartRect(1, &part);
  CProgress progress;
  progress.Create(statusbar.GetWindow(), ID_PROGRESS_BAR, 0, WS_CHILD | WS_VISIBLE, part.left + 4, 4, 93, 15);
  progress.SetRange(0, 100);
  gProgressProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
      progress.GetWindow(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordingProgressProc)));

  CRebar rebar;
  rebar.Create(window, ID_REBAR, WS_EX_TOOLWINDOW, 0x50800641, 0, 0, 0, 0);
  CToolbar toolbar;
  toolbar.Create(rebar.GetWindow(), ID_EDIT_TOOLBAR, 0, 0x50009944, 0, 0, 200, 28);
  toolbar.SetButtonStructSize(sizeof(TBBUTTON));
  toolbar.SetButtonWidth(32, 132);
  m_editImages = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 14, 0);
  toolbar.SetImageList(m_editImages);
  REBARBANDINFOA band = {};
  band.cbSize = sizeof band;
  band.fMask = RBBIM_STYLE | RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE;
  band.fStyle = RBBS_BREAK | RBBS_CHILDEDGE | RBBS_GRIPPERALWAYS;
  band.hwndChild = toolbar.GetWindow();
  band.cyMinChild = 28;
  band.cx = 200;
  rebar.AppendBand(&band);

  m_host.ShowWithoutActivation();
  gProgressPositions.clear();
}

ManagerTestWindow::~ManagerTestWindow() {
  // The window goes before the image list its toolbar uses; the host then
  // dispatches what that queued.
  DestroyWindow(m_host.Handle());
  if (m_editImages != nullptr) ImageList_Destroy(m_editImages);
}

HWND ManagerTestWindow::RecordList() const {
  return GetDlgItem(m_host.Handle(), ID_RECORD_LIST);
}

HWND ManagerTestWindow::EditToolbar() const {
  return GetDlgItem(GetDlgItem(m_host.Handle(), ID_REBAR), ID_EDIT_TOOLBAR);
}

HWND ManagerTestWindow::ProgressBar() const {
  return GetDlgItem(GetDlgItem(m_host.Handle(), ID_STATUS_BAR), ID_PROGRESS_BAR);
}

std::vector<int> ManagerTestWindow::TakeProgressPositions() {
  std::vector<int> positions;
  positions.swap(gProgressPositions);
  return positions;
}

bool ManagerTestWindow::TakeHiddenAtAStep() {
  const bool hidden = gHiddenAtAStep;
  gHiddenAtAStep = false;
  return hidden;
}
