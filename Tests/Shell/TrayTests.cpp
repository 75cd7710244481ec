// The tray icon under Wine: the real icon in Wine's notification area, its
// hidden window, the pop-up menu opened by a right-button message (looked at
// when it opens, then closed), double clicks, shell restarts, hiding windows
// into the tray and the notification area's rectangle.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <memory>
#include <string>
#include <vector>

#include "Library/CSystemTray.h"
#include "Library/NotificationArea.h"
#include "Records/DataFolders.h"
#include "Resources/MainWindowIds.h"
#include "Resources/TrayIds.h"
#include "Shell/CQuillmateTray.h"
#include "Support/ScratchFolder.h"
#include "TrayTestSupport.h"

using qmtest::PumpMessages;
using qmtest::PumpUntil;
using traytest::ShellHasIcon;
using traytest::WatchedWindow;

namespace {

constexpr UINT kCallback = WM_APP + 10;
constexpr const char* kTooltip = "Quillmate - Right click to begin.";

HICON AnyIcon() {
  return LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
}

std::string ItemText(HMENU menu, int position) {
  char text[256] = {};
  GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
  return text;
}

UINT ItemState(HMENU menu, int position) {
  MENUITEMINFOA info = {};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STATE;
  GetMenuItemInfoA(menu, position, TRUE, &info);
  return info.fState;
}

// What the pop-up menu looked like when it opened.
struct OpenedMenu {
  bool opened = false;
  int defaultPosition = -1;
  UINT firstState = 0;
  std::vector<std::string> texts;
  std::vector<UINT> newCommands;
  int fastTextCount = -1;
  std::string fastTextFirst;
  UINT fastTextFirstState = 0;
  UINT restoreCommand = 0, aboutCommand = 0, exitCommand = 0;
};

class TrayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The menu reads the fast-text store: it must be a scratch one.
    m_appData = std::make_unique<ScopedApplicationDataFolder>(m_folder.Path().string());
    MakeDataFolders();
    m_target = std::make_unique<WatchedWindow>(false);
    ASSERT_TRUE(
        m_tray.Create(GetModuleHandleA(nullptr), nullptr, kCallback, kTooltip, AnyIcon(), IDR_TRAY_MENU));
    m_tray.SetNotifyWindow(m_target->Handle());
  }

  LRESULT TrayMessage(LPARAM mouseMessage, WPARAM iconId = IDR_TRAY_MENU) {
    return SendMessageA(m_tray.GetTrayWindow(), kCallback, iconId, mouseMessage);
  }

  // The WM_COMMAND ids posted to the target window so far.
  std::vector<UINT> PostedCommands() {
    std::vector<UINT> commands;
    MSG message;
    while (PeekMessageA(&message, m_target->Handle(), WM_COMMAND, WM_COMMAND, PM_REMOVE))
      commands.push_back(LOWORD(message.wParam));
    return commands;
  }

  qmtest::ScratchFolder m_folder{"qm-tray"};
  std::unique_ptr<ScopedApplicationDataFolder> m_appData;
  CQuillmateTray m_tray;
  std::unique_ptr<WatchedWindow> m_target;
};

TEST_F(TrayTest, RightButtonOpensMenu102WithBoldRestoreItemAndFastTextsWithoutPlaceholder) {
  OpenedMenu seen;
  m_target->SetHandler([&](HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT*) {
    if (message == WM_INITMENUPOPUP && HIWORD(lParam) == 0 && !seen.opened) {
      HMENU menu = reinterpret_cast<HMENU>(wParam);
      seen.opened = true;
      seen.defaultPosition = static_cast<int>(GetMenuDefaultItem(menu, TRUE, 0));
      seen.firstState = ItemState(menu, 0);
      for (int i = 0; i < GetMenuItemCount(menu); ++i) seen.texts.push_back(ItemText(menu, i));
      HMENU newMenu = GetSubMenu(menu, TRAY_MENU_POS_NEW);
      for (int i = 0; newMenu && i < GetMenuItemCount(newMenu); ++i)
        seen.newCommands.push_back(GetMenuItemID(newMenu, i));
      if (HMENU fastTexts = GetSubMenu(menu, TRAY_MENU_POS_FAST_TEXTS)) {
        seen.fastTextCount = GetMenuItemCount(fastTexts);
        if (seen.fastTextCount > 0) {
          seen.fastTextFirst = ItemText(fastTexts, 0);
          seen.fastTextFirstState = ItemState(fastTexts, 0);
        }
      }
      seen.restoreCommand = GetMenuItemID(menu, TRAY_MENU_POS_RESTORE);
      seen.aboutCommand = GetMenuItemID(menu, TRAY_MENU_POS_ABOUT);
      seen.exitCommand = GetMenuItemID(menu, TRAY_MENU_POS_EXIT);
      // The menu runs its own loop; leave it from there.
      PostMessageA(window, WM_CANCELMODE, 0, 0);
      EndMenu();
    }
    if (message == WM_TIMER && wParam == 77) {
      KillTimer(window, 77);
      EndMenu();  // the menu never opened as expected: do not hang
      return true;
    }
    return false;
  });
  SetTimer(m_target->Handle(), 77, 5000, nullptr);

  EXPECT_EQ(1, TrayMessage(WM_RBUTTONUP));
  KillTimer(m_target->Handle(), 77);

  ASSERT_TRUE(seen.opened);
  EXPECT_EQ(0, seen.defaultPosition);
  EXPECT_TRUE(seen.firstState & MFS_DEFAULT) << "the default item is drawn bold";
  // Separators set off the default item and Exit.
  EXPECT_EQ((std::vector<std::string>{"&Quillmate...", "", "&New", "&Fast Texts", "&About...", "", "E&xit"}),
            seen.texts);
  EXPECT_EQ((std::vector<UINT>{201, 210, 220, 231, 240, 250, 260, 270}), seen.newCommands);
  // The placeholder is gone; with no fast texts one disabled item says so.
  ASSERT_EQ(1, seen.fastTextCount);
  EXPECT_EQ(seen.fastTextFirst, "(no fast texts yet)");
  EXPECT_TRUE(seen.fastTextFirstState & MFS_DISABLED);
  EXPECT_EQ(292u, seen.restoreCommand);
  EXPECT_EQ(280u, seen.aboutCommand);
  EXPECT_EQ(290u, seen.exitCommand);
  PumpMessages();
  EXPECT_TRUE(PostedCommands().empty()) << "a cancelled menu sends no command";
}

TEST_F(TrayTest, DoubleClickPostsTheDefaultCommandToTheTarget) {
  EXPECT_EQ(1, TrayMessage(WM_LBUTTONDBLCLK));
  EXPECT_EQ((std::vector<UINT>{IDM_RESTORE_FROM_TRAY}), PostedCommands());

  // A default given by command id is posted as it is.
  m_tray.SetDefaultMenuItem(IDM_ABOUT, false);
  EXPECT_EQ(1, TrayMessage(WM_LBUTTONDBLCLK));
  EXPECT_EQ((std::vector<UINT>{IDM_ABOUT}), PostedCommands());

  // Messages of another icon and plain mouse moves do nothing.
  EXPECT_EQ(0, TrayMessage(WM_LBUTTONDBLCLK, IDR_TRAY_MENU + 1));
  EXPECT_EQ(1, TrayMessage(WM_MOUSEMOVE));
  EXPECT_TRUE(PostedCommands().empty());

  // Without a target the tray window itself receives the commands.
  m_tray.SetNotifyWindow(nullptr);
  m_tray.SetDefaultMenuItem(0, true);
  EXPECT_EQ(1, TrayMessage(WM_LBUTTONDBLCLK));
  MSG message;
  ASSERT_TRUE(PeekMessageA(&message, m_tray.GetTrayWindow(), WM_COMMAND, WM_COMMAND, PM_REMOVE));
  EXPECT_EQ(IDM_RESTORE_FROM_TRAY, LOWORD(message.wParam));
}

TEST(TrayIcon, WithoutItsMenuResourceTheMouseMessagesAnswerZeroAndSendNothing) {
  // Icon id 5 names no menu resource: neither a right click nor a double
  // click can find a menu, and both say so.
  WatchedWindow target(false);
  CSystemTray tray;
  ASSERT_TRUE(tray.Create(GetModuleHandleA(nullptr), nullptr, kCallback, kTooltip, AnyIcon(), 5));
  tray.SetNotifyWindow(target.Handle());
  EXPECT_EQ(0, SendMessageA(tray.GetTrayWindow(), kCallback, 5, WM_RBUTTONUP));
  EXPECT_EQ(0, SendMessageA(tray.GetTrayWindow(), kCallback, 5, WM_LBUTTONDBLCLK));
  MSG message;
  EXPECT_FALSE(PeekMessageA(&message, target.Handle(), WM_COMMAND, WM_COMMAND, PM_REMOVE));
}

TEST(TrayIcon, TooltipOf128CharactersIsCutTo127) {
  CSystemTray tray;
  std::string tooltip(128, 'q');
  ASSERT_TRUE(tray.Create(GetModuleHandleA(nullptr), nullptr, kCallback, tooltip.c_str(), AnyIcon(), 5));
  EXPECT_EQ(tooltip.substr(0, 127), std::string(tray.GetIconRecord().szTip));
  EXPECT_EQ(488u, tray.GetIconRecord().cbSize);
  EXPECT_EQ(static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP), tray.GetIconRecord().uFlags);
  EXPECT_EQ(tray.GetTrayWindow(), tray.GetIconRecord().hWnd);
  char className[64] = {};
  GetClassNameA(tray.GetTrayWindow(), className, sizeof className);
  EXPECT_STREQ("TrayIconClass", className);
  EXPECT_FALSE(IsWindowVisible(tray.GetTrayWindow()));
}

TEST(TrayIcon, AddChangeDeleteFollowTheShell) {
  HWND trayWindow;
  {
    CSystemTray tray;
    ASSERT_TRUE(tray.Create(GetModuleHandleA(nullptr), nullptr, kCallback, kTooltip, AnyIcon(), 7));
    trayWindow = tray.GetTrayWindow();
    EXPECT_FALSE(tray.IsHidden());
    EXPECT_FALSE(tray.IsRemoved());
    EXPECT_FALSE(tray.IsAddPending());
    EXPECT_TRUE(ShellHasIcon(trayWindow, 7));
    EXPECT_TRUE(tray.ChangeIcon(LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_INFORMATION))));

    EXPECT_TRUE(tray.DeleteIcon());
    EXPECT_TRUE(tray.IsHidden());
    EXPECT_TRUE(tray.IsRemoved());
    EXPECT_FALSE(ShellHasIcon(trayWindow, 7));
    // Hidden: reported as done without asking the shell, which would refuse.
    EXPECT_TRUE(tray.ChangeIcon(AnyIcon()));
    EXPECT_TRUE(tray.DeleteIcon());

    ASSERT_TRUE(tray.Create(GetModuleHandleA(nullptr), nullptr, kCallback, kTooltip, AnyIcon(), 7));
    trayWindow = tray.GetTrayWindow();
    EXPECT_TRUE(ShellHasIcon(trayWindow, 7));
  }
  // The destructor takes the icon away and destroys the tray window.
  EXPECT_FALSE(IsWindow(trayWindow));
}

TEST(TrayIcon, ShellRestartBringsTheIconBackAndAFailedReAddIsSurvived) {
  const UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
  CSystemTray tray;
  ASSERT_TRUE(tray.Create(GetModuleHandleA(nullptr), nullptr, kCallback, kTooltip, AnyIcon(), 9));
  HWND trayWindow = tray.GetTrayWindow();

  // A restarted shell has forgotten every icon.
  traytest::ShellForgetsIcon(trayWindow, 9);
  ASSERT_FALSE(ShellHasIcon(trayWindow, 9));
  SendMessageA(trayWindow, taskbarCreated, 0, 0);
  EXPECT_TRUE(ShellHasIcon(trayWindow, 9));
  EXPECT_FALSE(tray.IsAddPending());

  // The shell still holds the icon, so adding it again is refused: the
  // tray keeps running with the add pending, and the next restart adds it.
  SendMessageA(trayWindow, taskbarCreated, 0, 0);
  EXPECT_TRUE(IsWindow(trayWindow));
  if (tray.IsAddPending()) {
    traytest::ShellForgetsIcon(trayWindow, 9);
    SendMessageA(trayWindow, taskbarCreated, 0, 0);
    EXPECT_FALSE(tray.IsAddPending());
  }
  EXPECT_TRUE(ShellHasIcon(trayWindow, 9));

  // An icon deleted on purpose stays away.
  tray.DeleteIcon();
  SendMessageA(trayWindow, taskbarCreated, 0, 0);
  EXPECT_FALSE(ShellHasIcon(trayWindow, 9));
  EXPECT_TRUE(tray.IsRemoved());
}

// Sets the platform's minimise animation for the test and puts it back.
class ScopedAnimation {
 public:
  explicit ScopedAnimation(bool on) {
    m_saved.cbSize = sizeof m_saved;
    SystemParametersInfoA(SPI_GETANIMATION, sizeof m_saved, &m_saved, 0);
    ANIMATIONINFO wanted = m_saved;
    wanted.iMinAnimate = on ? 1 : 0;
    SystemParametersInfoA(SPI_SETANIMATION, sizeof wanted, &wanted, 0);
  }
  ~ScopedAnimation() { SystemParametersInfoA(SPI_SETANIMATION, sizeof m_saved, &m_saved, 0); }

 private:
  ANIMATIONINFO m_saved;
};

bool IsHeld(HWND window) {
  return GetAncestor(window, GA_PARENT) != GetDesktopWindow();
}

TEST(TrayHiding, HideToTrayAndRestoreFromTrayWithAndWithoutAnimation) {
  for (bool animation : {false, true}) {
    SCOPED_TRACE(animation ? "animation on" : "animation off");
    ScopedAnimation scoped(animation);
    WatchedWindow window(true);
    WatchedWindow other(true);
    SetForegroundWindow(other.Handle());
    PumpMessages();
    ASSERT_TRUE(IsWindowVisible(window.Handle()));

    // No tray object is needed.
    CSystemTray::HideToTray(window.Handle());
    PumpMessages();
    EXPECT_FALSE(IsWindowVisible(window.Handle()));
    EXPECT_TRUE(IsHeld(window.Handle())) << "off the taskbar: a child of the holder window";
    EXPECT_TRUE(IsWindow(window.Handle()));

    CSystemTray::RestoreFromTray(window.Handle());
    PumpMessages();
    EXPECT_TRUE(IsWindowVisible(window.Handle()));
    EXPECT_FALSE(IsHeld(window.Handle()));
    EXPECT_EQ(window.Handle(), GetForegroundWindow()) << "restored in front of the other window";
  }
}

// Sources of the notification area's rectangle that a test controls.
HWND gFakeTaskbar = nullptr;
APPBARDATA gFakeBar = {};
bool gFakeBarKnown = false;

HWND FakeFindTaskbar() {
  return gFakeTaskbar;
}
bool FakeTaskbarPosition(APPBARDATA* data) {
  if (!gFakeBarKnown) return false;
  data->uEdge = gFakeBar.uEdge;
  data->rc = gFakeBar.rc;
  return true;
}
bool RealWorkArea(RECT* area) {
  return SystemParametersInfoA(SPI_GETWORKAREA, 0, area, 0) != FALSE;
}
const NotificationAreaSources kFakeSources = {FakeFindTaskbar, FakeTaskbarPosition, RealWorkArea};

HWND MakeWindow(const char* className, HWND parent, int x, int y, int width, int height) {
  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = className;
  RegisterClassExA(&windowClass);
  DWORD style = parent ? WS_CHILD | WS_VISIBLE : WS_POPUP;
  return CreateWindowExA(0, className, "", style, x, y, width, height, parent, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

void ExpectRect(RECT expected, RECT actual) {
  EXPECT_EQ(expected.left, actual.left);
  EXPECT_EQ(expected.top, actual.top);
  EXPECT_EQ(expected.right, actual.right);
  EXPECT_EQ(expected.bottom, actual.bottom);
}

TEST(NotificationArea, FallsBackToTaskbarPositionThenToTheWorkAreaCorner) {
  gFakeTaskbar = nullptr;
  gFakeBarKnown = false;
  RECT work;
  ASSERT_TRUE(RealWorkArea(&work));
  ExpectRect({work.right - 150, work.bottom - 30, work.right, work.bottom},
             NotificationAreaRect(kFakeSources));

  gFakeBarKnown = true;
  gFakeBar.uEdge = ABE_BOTTOM;
  gFakeBar.rc = {0, 738, 1024, 768};
  ExpectRect({924, 738, 1008, 768}, NotificationAreaRect(kFakeSources));
  gFakeBar.uEdge = ABE_RIGHT;
  gFakeBar.rc = {984, 0, 1024, 768};
  ExpectRect({984, 668, 1024, 752}, NotificationAreaRect(kFakeSources));
  gFakeBarKnown = false;
}

TEST(NotificationArea, TaskbarWindowsGiveTheAreaLeftOfOrBelowTheClock) {
  // A horizontal taskbar: the notification window, the clock at its right end.
  HWND bar = MakeWindow("QuillmateTestTaskbar", nullptr, 0, 700, 1000, 30);
  ASSERT_NE(nullptr, bar);
  HWND notify = MakeWindow("TrayNotifyWnd", bar, 800, 2, 190, 26);
  MakeWindow("TrayClockWClass", notify, 140, 0, 50, 26);
  gFakeTaskbar = bar;
  ExpectRect({800, 702, 940, 728}, NotificationAreaRect(kFakeSources));
  DestroyWindow(bar);

  // A vertical taskbar: the clock sits at the top of the notification window.
  bar = MakeWindow("QuillmateTestTaskbar", nullptr, 900, 0, 60, 700);
  notify = MakeWindow("TrayNotifyWnd", bar, 2, 500, 56, 190);
  MakeWindow("TrayClockWClass", notify, 0, 0, 56, 30);
  gFakeTaskbar = bar;
  ExpectRect({902, 530, 958, 690}, NotificationAreaRect(kFakeSources));
  DestroyWindow(bar);

  // Without a notification window the taskbar's own rectangle is used.
  bar = MakeWindow("QuillmateTestTaskbar", nullptr, 10, 20, 300, 40);
  gFakeTaskbar = bar;
  ExpectRect({10, 20, 310, 60}, NotificationAreaRect(kFakeSources));
  DestroyWindow(bar);
  gFakeTaskbar = nullptr;
}

}  // namespace
