// The layout of the main window: the panes fill what the rebar and the
// status bar leave, in any size, with a band hidden or shown, and after the
// splitter bar was moved.
#include "ShellTestSupport.h"

#include <commctrl.h>

#include <algorithm>

#include "Library/CSplitter.h"
#include "Resources/MainWindowIds.h"
#include "Shell/MainWindowControls.h"
#include "Shell/MainWindowLayout.h"

using namespace shelltest;

namespace {

int Height(const RECT& rect) {
  return rect.bottom - rect.top;
}

// The window's own visibility bit (the main window itself is not on screen).
bool IsShown(HWND window) {
  return (GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE) != 0;
}

int Width(const RECT& rect) {
  return rect.right - rect.left;
}

}  // namespace

class MainWindowLayoutTest : public MainWindowTest {
 protected:
  void Resize(int width, int height) const {
    RECT frame = {0, 0, width, height};
    AdjustWindowRectEx(&frame, GetWindowLongA(Main(), GWL_STYLE), TRUE, GetWindowLongA(Main(), GWL_EXSTYLE));
    SetWindowPos(Main(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
    PumpMessages();
  }

  void ExpectPanesFillTheMiddle() const {
    RECT client = {};
    GetClientRect(Main(), &client);
    RECT rebarClient = {};
    GetClientRect(Rebar(), &rebarClient);
    RECT status = {};
    GetWindowRect(StatusBar(), &status);
    const RECT managers = ChildRect(ManagerList());
    const RECT records = ChildRect(RecordList());
    const RECT bar = ChildRect(Child(ID_SPLITTER_BAR));
    const int expectedHeight = client.bottom - Height(rebarClient) - Height(status);
    EXPECT_EQ(Height(managers), expectedHeight);
    EXPECT_EQ(Height(records), expectedHeight);
    EXPECT_EQ(Height(bar), expectedHeight);
    EXPECT_EQ(managers.top, Height(rebarClient));
    EXPECT_EQ(records.top, Height(rebarClient));
    // Side by side across the whole width: left pane, 4-pixel bar, right pane.
    EXPECT_EQ(managers.left, 0);
    EXPECT_EQ(bar.left, managers.right);
    EXPECT_EQ(Width(bar), 4);
    EXPECT_EQ(records.left, bar.right);
    EXPECT_EQ(records.right, client.right);
    // The panes end where the status bar begins.
    EXPECT_EQ(managers.bottom, ChildRect(StatusBar()).top);
  }
};

TEST_F(MainWindowLayoutTest, PanesFillTheHeightBetweenRebarAndStatusBarInEverySize) {
  for (const SIZE size : {SIZE{900, 600}, SIZE{640, 480}, SIZE{1000, 350}, SIZE{420, 700}}) {
    SCOPED_TRACE(std::to_string(size.cx) + "x" + std::to_string(size.cy));
    Resize(size.cx, size.cy);
    ExpectPanesFillTheMiddle();
    RECT client = {};
    GetClientRect(Main(), &client);
    // A fresh window gives the managers a fifth of the width, or, when that
    // is too narrow for two columns of their icons, those columns where
    // they take at most 40 %, and never less than one column (up to half).
    const int twoColumns = ManagerListWidth(ManagerList(), 2) <= client.right * 40 / 100
                               ? ManagerListWidth(ManagerList(), 2)
                               : 0;
    const int column =
        std::min(ManagerListWidth(ManagerList(), 1), static_cast<int>(client.right - 4) / 2);
    EXPECT_EQ(Width(ChildRect(ManagerList())),
              std::max({static_cast<int>(client.right * 20 / 100), twoColumns, column}));
  }
}

TEST_F(MainWindowLayoutTest, HidingAndShowingTheMainToolbarMovesThePanesByItsBand) {
  Resize(900, 600);
  const RECT before = ChildRect(RecordList());
  ASSERT_TRUE(IsShown(MainToolbar()));
  // The main toolbar's band takes the rows from its top to the edit band's top.
  RECT mainBand = {}, editBand = {};
  SendMessageA(Rebar(), RB_GETRECT, 0, reinterpret_cast<LPARAM>(&mainBand));
  SendMessageA(Rebar(), RB_GETRECT, 1, reinterpret_cast<LPARAM>(&editBand));
  const int bandHeight = editBand.top - mainBand.top;
  ASSERT_GE(bandHeight, 55);
  // The View menu's items carry a check mark while their band shows.
  auto checked = [this](int command) {
    return (GetMenuState(GetMenu(Main()), command, MF_BYCOMMAND) & MF_CHECKED) != 0;
  };
  EXPECT_TRUE(checked(IDM_TOGGLE_MAIN_TOOLBAR));
  EXPECT_TRUE(checked(IDM_TOGGLE_EDIT_TOOLBAR));

  Command(IDM_TOGGLE_MAIN_TOOLBAR);
  PumpMessages();
  const RECT hidden = ChildRect(RecordList());
  EXPECT_FALSE(IsShown(MainToolbar()));
  EXPECT_FALSE(checked(IDM_TOGGLE_MAIN_TOOLBAR));
  EXPECT_TRUE(checked(IDM_TOGGLE_EDIT_TOOLBAR));
  EXPECT_EQ(before.top - hidden.top, bandHeight);
  EXPECT_EQ(Height(hidden) - Height(before), bandHeight);
  ExpectPanesFillTheMiddle();

  Command(IDM_TOGGLE_MAIN_TOOLBAR);
  PumpMessages();
  EXPECT_TRUE(IsShown(MainToolbar()));
  EXPECT_TRUE(checked(IDM_TOGGLE_MAIN_TOOLBAR));
  const RECT shown = ChildRect(RecordList());
  EXPECT_EQ(shown.top, before.top);
  EXPECT_EQ(Height(shown), Height(before));

  // The edit toolbar's band toggles on its own; the main toolbar stays.
  Command(IDM_TOGGLE_EDIT_TOOLBAR);
  PumpMessages();
  EXPECT_FALSE(IsShown(EditToolbar()));
  EXPECT_FALSE(checked(IDM_TOGGLE_EDIT_TOOLBAR));
  EXPECT_TRUE(IsShown(MainToolbar()));
  EXPECT_LT(ChildRect(RecordList()).top, before.top);
  ExpectPanesFillTheMiddle();
  Command(IDM_TOGGLE_EDIT_TOOLBAR);
  PumpMessages();
  EXPECT_EQ(ChildRect(RecordList()).top, before.top);
}

TEST_F(MainWindowLayoutTest, SplitterMovesArePassedOnAndKeptAcrossResizing) {
  Resize(1000, 500);
  SendMessageA(Main(), CSplitter::kSplitterMovedMessage, 500, 0);
  EXPECT_EQ(Width(ChildRect(ManagerList())), 500);
  // The share is kept, not the pixels.
  Resize(600, 500);
  EXPECT_EQ(Width(ChildRect(ManagerList())), 300);
  ExpectPanesFillTheMiddle();
  // A release at the left edge gives the managers the least share, but
  // never less than a column of their icons.
  SendMessageA(Main(), CSplitter::kSplitterMovedMessage, 0, 0);
  EXPECT_EQ(Width(ChildRect(ManagerList())), std::max(60, ManagerListWidth(ManagerList(), 1)));
}

// A new window gives the managers room for two columns of icons: all eight
// show at once, none scrolled out of sight, and the records keep the larger
// share.
TEST_F(MainWindowLayoutTest, ANewWindowShowsEveryManagerWithoutScrolling) {
  HWND list = ManagerList();
  RECT client = {};
  GetClientRect(list, &client);
  EXPECT_EQ(GetWindowLongA(list, GWL_STYLE) & WS_VSCROLL, 0) << "the managers scroll";
  for (int item = 0; item < ListView_GetItemCount(list); ++item) {
    RECT bounds = {};
    ListView_GetItemRect(list, item, &bounds, LVIR_BOUNDS);
    EXPECT_GE(bounds.top, client.top) << item;
    EXPECT_LE(bounds.bottom, client.bottom) << item;
    EXPECT_LE(bounds.right, client.right) << item;
  }
  EXPECT_LT(Width(ChildRect(ManagerList())), Width(ChildRect(RecordList())));
}

// Each manager's name shows whole under its icon, in at most the two lines
// the list gives a label that is not selected, with no sideways scrolling:
// in a large window and in the smallest one.
TEST_F(MainWindowLayoutTest, EveryManagersNameShowsWholeInALargeAndInTheSmallestWindow) {
  HWND list = ManagerList();
  for (const SIZE size : {SIZE{1024, 740}, SIZE{kMinimumWindowWidth, kMinimumWindowHeight}}) {
    SCOPED_TRACE(std::to_string(size.cx) + "x" + std::to_string(size.cy));
    SetWindowPos(Main(), nullptr, 0, 0, size.cx, size.cy, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
    PumpMessages();
    RECT client = {};
    GetClientRect(list, &client);
    EXPECT_EQ(GetWindowLongA(list, GWL_STYLE) & WS_HSCROLL, 0) << "no sideways scrolling";
    HDC dc = GetDC(list);
    const HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(list, WM_GETFONT, 0, 0)));
    for (int item = 0; item < ListView_GetItemCount(list); ++item) {
      char name[64] = {};
      ListView_GetItemText(list, item, 0, name, sizeof name);
      ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
      RECT label = {};
      ListView_GetItemRect(list, item, &label, LVIR_LABEL);
      RECT needed = {0, 0, label.right - label.left, 0};
      DrawTextA(dc, name, -1, &needed, DT_CENTER | DT_WORDBREAK | DT_CALCRECT | DT_NOPREFIX);
      EXPECT_LE(needed.bottom, label.bottom - label.top) << name;
      EXPECT_LE(needed.right, label.right - label.left) << name;
      EXPECT_GE(label.left, client.left) << name;
      EXPECT_LE(label.right, client.right) << name;
    }
    SelectObject(dc, oldFont);
    ReleaseDC(list, dc);
  }
}

// A show lays the window out once, before it reaches the screen; the
// WM_SIZE that follows at the same size is left alone, one at another size
// (a show that maximises, a restore, a resize) is not.
TEST_F(MainWindowLayoutTest, EveryWayOfShowingTheWindowShowsItLaidOutAtItsSize) {
  ShowWindow(Main(), SW_SHOWNORMAL);
  PumpMessages();
  ExpectPanesFillTheMiddle();
  const RECT normal = ChildRect(RecordList());

  ShowWindow(Main(), SW_HIDE);
  PumpMessages();
  ShowWindow(Main(), SW_SHOWMAXIMIZED);
  PumpMessages();
  ASSERT_TRUE(IsZoomed(Main()));
  ExpectPanesFillTheMiddle();
  EXPECT_GT(Width(ChildRect(RecordList())), Width(normal));

  ShowWindow(Main(), SW_RESTORE);
  PumpMessages();
  ExpectPanesFillTheMiddle();
  EXPECT_EQ(Width(ChildRect(RecordList())), Width(normal));

  // Hidden, shown again without a WM_SIZE, then a band toggled and the
  // window resized: each lays out by itself.
  ShowWindow(Main(), SW_HIDE);
  PumpMessages();
  ShowWindow(Main(), SW_SHOW);
  PumpMessages();
  Command(IDM_TOGGLE_MAIN_TOOLBAR);
  PumpMessages();
  ExpectPanesFillTheMiddle();
  Command(IDM_TOGGLE_MAIN_TOOLBAR);
  PumpMessages();
  ExpectPanesFillTheMiddle();
  Resize(700, 500);
  ExpectPanesFillTheMiddle();
  ShowWindow(Main(), SW_MINIMIZE);
  PumpMessages();
  ShowWindow(Main(), SW_RESTORE);
  PumpMessages();
  ExpectPanesFillTheMiddle();
  EXPECT_EQ(Width(ChildRect(RecordList())) + Width(ChildRect(ManagerList())) + 4, 700);

  // The managers' icons flow into the columns their pane holds, and back.
  const auto iconTop = [this](int item) {
    RECT icon = {};
    ListView_GetItemRect(ManagerList(), item, &icon, LVIR_ICON);
    return icon.top;
  };
  SendMessageA(Main(), CSplitter::kSplitterMovedMessage, 500, 0);
  PumpMessages();
  EXPECT_EQ(iconTop(1), iconTop(0)) << "side by side in a wide pane";
  SendMessageA(Main(), CSplitter::kSplitterMovedMessage, 0, 0);
  PumpMessages();
  EXPECT_GT(iconTop(1), iconTop(0)) << "one column in the narrowest pane";
}
