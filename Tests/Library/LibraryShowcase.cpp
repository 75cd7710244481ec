// A window built only from the toolkit: a rebar with a toolbar, two list
// views split by the splitter bar, and a status bar with a progress bar. It
// exists to look at the toolkit on screen and closes itself after a while.
#include "Library/CListView.h"
#include "Library/CProgress.h"
#include "Library/CRebar.h"
#include "Library/CSplitter.h"
#include "Library/CStatusbar.h"
#include "Library/CToolbar.h"
#include "Library/CWinApp.h"
#include "Library/WindowClassDef.h"
#include "Library/WindowCreateDef.h"
#include "Records/MessageBoxSeam.h"

#include <windows.h>

namespace {

const UINT_PTR kCloseTimer = 1;
const UINT kShowSeconds = 40;

CSplitter* gShowcaseSplitter = nullptr;

void Layout(HWND window) {
  RECT client;
  GetClientRect(window, &client);
  CRebar rebar(window, 1000);
  CStatusbar status(window, 1007);
  status.Send(WM_SIZE);
  RECT statusRect;
  GetWindowRect(status.GetWindow(), &statusRect);
  int top = rebar.GetBarHeight();
  int height = client.bottom - top - (statusRect.bottom - statusRect.top);
  if (gShowcaseSplitter) {
    gShowcaseSplitter->SetTop(top);
    gShowcaseSplitter->Resize(client.right, height);
  }
}

void Build(HWND window) {
  CRebar rebar;
  rebar.Create(window, 1000, WS_EX_TOOLWINDOW, 0x50800641, 0, 0, 0, 0);
  CToolbar toolbar;
  toolbar.Create(rebar.GetWindow(), 1002, 0, 0x50009944, 0, 0, 200, 28);
  toolbar.SetButtonStructSize(sizeof(TBBUTTON));
  toolbar.SetButtonWidth(32, 132);
  const char* labels[] = {"Edit", "Delete", "Delete All"};
  const int commands[] = {202, 204, 205};
  int position = 0;
  for (int i = 0; i < 3; ++i) {
    if (i > 0) {
      TBBUTTON separator = {0, 0, 0, BTNS_SEP, {}, 0, 0};
      toolbar.InsertButton(position++, &separator);
    }
    TBBUTTON button = {
        I_IMAGENONE, commands[i], TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, toolbar.AddString(labels[i])};
    toolbar.InsertButton(position++, &button);
  }
  REBARBANDINFOA band = {};
  band.cbSize = sizeof band;
  band.fMask = RBBIM_STYLE | RBBIM_COLORS | RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE;
  band.fStyle = RBBS_BREAK | RBBS_CHILDEDGE | RBBS_GRIPPERALWAYS;
  band.clrFore = 0xFFFFDE;
  band.clrBack = GetSysColor(COLOR_BTNFACE);
  band.hwndChild = toolbar.GetWindow();
  band.cyMinChild = 28;
  band.cx = 200;
  rebar.AppendBand(&band);

  CListView managers;
  managers.Create(window, 1005, WS_EX_CLIENTEDGE, WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 0, 0);
  managers.InsertColumn(0, "Manager", 160);
  const char* names[] = {"Text Note Manager",         "Audio Note Manager",
                         "Video Note Manager",        "Photo Manager",
                         "Time Notification Manager", "Email Resource Manager",
                         "Internet Resource Manager", "Fast Text Manager"};
  for (int i = 0; i < 8; ++i) managers.InsertItem(i, names[i], -1, 0);

  CListView records;
  records.Create(window, 1004, WS_EX_CLIENTEDGE, WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 0, 0);
  records.SetExtendedStyle(LVS_EX_FULLROWSELECT);
  records.InsertColumn(0, "Date", 120);
  records.InsertColumn(1, "Text Note Title", 180);
  records.InsertColumn(2, "Note Type", 120);
  records.InsertItem(0, "09:05:03 11/28/2003", -1, 40);
  records.SetItemText(0, 1, "Shopping list");
  records.SetItemText(0, 2, "Normal Note");
  records.InsertItem(1, "17:30:00 11/29/2003", -1, 300);
  records.SetItemText(1, 1, "Call the bank");
  records.SetItemText(1, 2, "Urgent Note");
  records.SetItemState(1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);

  CStatusbar status;
  status.Create(window, 1007, 0, 0x50000100, 0, 0, 0, 0);
  int edges[] = {150, 400, -1};
  status.SetParts(3, edges);
  status.SetPartText(0, "Ready");
  RECT part;
  status.GetPartRect(1, &part);
  CProgress progress;
  progress.Create(status.GetWindow(), 1006, 0, WS_CHILD | WS_VISIBLE, part.left + 4, 4, 93, 15);
  progress.SetRange(0, 100);
  progress.SetPos(80);

  gShowcaseSplitter = new CSplitter(window);
  gShowcaseSplitter->SetPanes(managers.GetWindow(), records.GetWindow());
}

LRESULT CALLBACK ShowcaseProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      Layout(window);
      return 0;
    case CSplitter::kSplitterMovedMessage:
      if (gShowcaseSplitter) gShowcaseSplitter->MoveSplit(static_cast<int>(wParam));
      return 0;
    case WM_TIMER:
      DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      delete gShowcaseSplitter;
      gShowcaseSplitter = nullptr;
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  gApp.SetInstance(instance);
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_COOL_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  try {
    CSplitter::RegisterBarClass(instance);
    WindowClassDef windowClass(ShowcaseProc, "QmLibraryShowcase", instance);
    windowClass.Register();
    WindowCreateDef main = WindowCreateDef::TopLevel("Quillmate toolkit", "QmLibraryShowcase", instance);
    main.x = 40;
    main.y = 40;
    main.width = 760;
    main.height = 420;
    main.style &= ~WS_VISIBLE;
    HWND window = main.Create();
    Build(window);
    Layout(window);
    main.Show(SW_SHOWNORMAL);
    SetTimer(window, kCloseTimer, kShowSeconds * 1000, nullptr);
  } catch (const char* text) {
    ShowMessageBox(nullptr, text, "Error", kMbOk | kMbIconWarning);
    return 1;
  }
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}
