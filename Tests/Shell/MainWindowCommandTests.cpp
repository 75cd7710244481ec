// The main window driven by its commands and notifications: the managers
// shown by command and by the manager list, the generic commands of the
// current kind, the context menus, Exit and the exit request, closing, Page
// Setup, About and the hooks of the timer, the tray and the fast texts.
#include "ShellTestSupport.h"

#include "Library/CSystemTray.h"
#include "Managers/KindManager.h"
#include "Managers/RecordManager.h"
#include "Resources/MainWindowIds.h"
#include "Shell/CommandRouter.h"
#include "Shell/MainWindowLayout.h"
#include "Shell/PageSetup.h"
#include "Shell/RebarChevron.h"
#include "Shell/RecordColumns.h"
#include "Shell/RecordContextMenu.h"
#include "Shell/RegistryStrings.h"

#include <algorithm>
#include <cstring>

using namespace shelltest;

namespace {

struct KindExpectation {
  int showCommand;
  std::vector<ListColumn> columns;
  int firstEditCommand;
  int contextMenu;
};

const KindExpectation kKinds[] = {
    {IDM_SHOW_TEXT_NOTES, {{"Date", 120}, {"Text Note Title", 180}, {"Note Type", 120}}, 202, 104},
    {IDM_SHOW_AUDIO_NOTES, {{"Date", 120}, {"Audio Note Title", 180}, {"Note Type", 120}}, 211, 105},
    {IDM_SHOW_VIDEO_NOTES, {{"Date", 120}, {"Video Note Title", 180}, {"Note Type", 120}}, 221, 106},
    {IDM_SHOW_PHOTOS, {{"Date", 120}, {"Photo Title", 180}, {"Photo Comment", 180}}, 232, 107},
    {IDM_SHOW_TIME_NOTIFICATIONS,
     {{"Date", 120}, {"Time Notification Title", 180}, {"Notification Time", 120}, {"Type", 120}},
     241,
     108},
    {IDM_SHOW_EMAIL_RESOURCES,
     {{"Date", 120}, {"Full Name", 180}, {"Email", 180}, {"Comment", 120}},
     251,
     109},
    {IDM_SHOW_INTERNET_RESOURCES,
     {{"Date", 120}, {"Internet Resource Title", 180}, {"Internet Address", 180}, {"Resource Type", 120}},
     261,
     110},
    {IDM_SHOW_FAST_TEXTS, {{"Date", 120}, {"Fast Text Title", 180}}, 271, 111},
};

// The list's client width less a vertical scroll bar it does not show yet.
int ShareableWidth(HWND list) {
  RECT client = {};
  GetClientRect(list, &client);
  const bool bar = (GetWindowLongA(list, GWL_STYLE) & WS_VSCROLL) != 0;
  return client.right - (bar ? 0 : GetSystemMetrics(SM_CXVSCROLL));
}

// The titles, and the widths: the kind's own ones shared out over the
// list's width (never narrower than the kind's own).
void ExpectColumns(HWND list, const std::vector<ListColumn>& expected) {
  const std::vector<ListColumn> columns = ReadColumns(list);
  ASSERT_EQ(columns.size(), expected.size());
  std::vector<int> defaults;
  for (const ListColumn& column : expected) defaults.push_back(column.width);
  std::vector<int> widths = ShareWidth(defaults, ShareableWidth(list));
  for (size_t i = 0; i < expected.size(); ++i) {
    if (widths[i] < defaults[i]) widths = defaults;
  }
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(columns[i].title, expected[i].title);
    EXPECT_EQ(columns[i].width, widths[i]) << i;
  }
}

// The menus handed to TrackPopupMenu, read while they exist.
std::vector<std::vector<std::string>> gTrackedMenus;
HWND gTrackedOwner = nullptr;
POINT gTrackedAt = {};

BOOL WINAPI RecordTrackedMenu(HMENU menu, UINT, int x, int y, int, HWND owner, const RECT*) {
  gTrackedMenus.push_back(ReadMenu(menu));
  gTrackedOwner = owner;
  gTrackedAt = {x, y};
  return TRUE;
}

class ScopedTracker {
 public:
  ScopedTracker() : m_previous(gTrackPopupMenu) {
    gTrackedMenus.clear();
    gTrackedOwner = nullptr;
    gTrackPopupMenu = RecordTrackedMenu;
  }
  ~ScopedTracker() { gTrackPopupMenu = m_previous; }

 private:
  PopupMenuTracker m_previous;
};

std::vector<PAGESETUPDLGA> gPageSetupCalls;

BOOL WINAPI RecordPageSetup(PAGESETUPDLGA* record) {
  gPageSetupCalls.push_back(*record);
  return TRUE;
}

std::vector<std::pair<HWND, int>> gHookCalls;

}  // namespace

TEST_F(MainWindowTest, EveryKindIsShownByItsCommandAndByTheManagerList) {
  for (int kind = 0; kind < 8; ++kind) {
    SCOPED_TRACE(kind);
    Command(kKinds[kind].showCommand);
    EXPECT_EQ(CurrentKind(), kind);
    ExpectColumns(RecordList(), kKinds[kind].columns);
    const std::vector<ToolbarButton> buttons = ReadToolbar(EditToolbar());
    ASSERT_FALSE(buttons.empty());
    EXPECT_EQ(buttons[0].command, kKinds[kind].firstEditCommand);
    EXPECT_EQ(SendMessageA(ProgressBar(), PBM_GETPOS, 0, 0), 100);
  }
  // A double click on a manager entry shows its kind; without a focused
  // entry nothing changes.
  for (int kind : {3, 0, 6}) {
    ListView_SetItemState(ManagerList(), kind, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
    NotifyFrom(ManagerList(), NM_DBLCLK);
    EXPECT_EQ(CurrentKind(), kind);
    ExpectColumns(RecordList(), kKinds[kind].columns);
  }
  ListView_SetItemState(ManagerList(), -1, 0, LVIS_FOCUSED | LVIS_SELECTED);
  NotifyFrom(ManagerList(), NM_DBLCLK);
  EXPECT_EQ(CurrentKind(), 6);
}

TEST_F(MainWindowTest, GenericDeleteCommandsActOnTheCurrentKind) {
  InternetResManager::AppendRecord(Main(), {"News", "http://news.example.org", 3});
  InternetResManager::AppendRecord(Main(), {"Shop", "http://shop.example.org", 4});
  InternetResManager::AppendRecord(Main(), {"Fun", "http://fun.example.org", 7});
  TextNoteManager::AppendRecord(Main(), {"Kept", "TextNote1.doc", 1});
  Command(IDM_SHOW_INTERNET_RESOURCES);
  ASSERT_EQ(ListView_GetItemCount(RecordList()), 3);
  EXPECT_EQ(ReadCell(RecordList(), 2, 3), "Others");

  FocusRow(1);
  m_boxes.answer = kIdYes;
  Command(IDM_DELETE_CURRENT);
  ASSERT_EQ(ListView_GetItemCount(RecordList()), 2);
  EXPECT_EQ(ReadCell(RecordList(), 0, 1), "News");
  EXPECT_EQ(ReadCell(RecordList(), 1, 1), "Fun");
  ASSERT_EQ(m_boxes.shown.size(), 1u);
  EXPECT_EQ(m_boxes.shown[0].text, "Delete 1 bookmark?");

  // Delete all asks the kind's question; No keeps everything.
  m_boxes.answer = kIdNo;
  Command(IDM_DELETE_ALL_CURRENT);
  ASSERT_EQ(m_boxes.shown.size(), 2u);
  EXPECT_EQ(m_boxes.shown[1].text, "Would you like to delete All Internet Addreses from Your Diary?");
  EXPECT_EQ(ListView_GetItemCount(RecordList()), 2);
  m_boxes.answer = kIdYes;
  Command(IDM_DELETE_ALL_CURRENT);
  EXPECT_EQ(ListView_GetItemCount(RecordList()), 0);
  Command(IDM_SHOW_INTERNET_RESOURCES);
  EXPECT_EQ(ListView_GetItemCount(RecordList()), 0);

  // Other kinds are untouched.
  Command(IDM_SHOW_TEXT_NOTES);
  ASSERT_EQ(ListView_GetItemCount(RecordList()), 1);
  EXPECT_EQ(ReadCell(RecordList(), 0, 2), "Urgent Note");
  // The kind's own delete command works whichever kind is current.
  FocusRow(0);
  Command(IDM_SHOW_FAST_TEXTS);
  Command(IDM_SHOW_TEXT_NOTES);
  FocusRow(0);
  Command(IDM_DELETE_TEXT_NOTES);
  EXPECT_EQ(ListView_GetItemCount(RecordList()), 0);
}

TEST_F(MainWindowTest, RightClickOpensTheCurrentKindsMenuOnlyWithAFocusedRow) {
  ScopedTracker tracker;
  NotifyFrom(RecordList(), NM_RCLICK);
  EXPECT_TRUE(gTrackedMenus.empty()) << "no row, no menu";

  TextNoteManager::AppendRecord(Main(), {"First", "TextNote1.doc", 0});
  EmailValues mail;
  mail.name = "Jane";
  mail.email = "jane@example.org";
  EmailResManager::AppendRecord(Main(), mail);
  Command(IDM_SHOW_TEXT_NOTES);
  FocusRow(-1);
  NotifyFrom(RecordList(), NM_RCLICK);
  EXPECT_TRUE(gTrackedMenus.empty()) << "rows but none focused";

  FocusRow(0);
  NotifyFrom(RecordList(), NM_RCLICK);
  ASSERT_EQ(gTrackedMenus.size(), 1u);
  EXPECT_EQ(gTrackedOwner, Main());
  EXPECT_EQ(gTrackedMenus[0], (std::vector<std::string>{"201 Add &New Text Note", "202 &Edit Properies", "-",
                                                        "204 &Delete", "205 Delete &All"}));

  Command(IDM_SHOW_EMAIL_RESOURCES);
  FocusRow(0);
  NotifyFrom(RecordList(), NM_RCLICK);
  ASSERT_EQ(gTrackedMenus.size(), 2u);
  EXPECT_EQ(gTrackedMenus[1],
            (std::vector<std::string>{"250 Add &New Email Resource", "251 &Edit Properies", "-",
                                      "256 &Send Mail", "-", "253 &Delete", "254 Delete &All"}));

  // Every kind's menu resource, item by item.
  const std::vector<std::string> menus[8] = {
      {"201 Add &New Text Note", "202 &Edit Properies", "-", "204 &Delete", "205 Delete &All"},
      {"210 Add &New Audio Note", "211 &Edit Properies", "-", "212 &Delete", "213 Delete &All"},
      {"220 Add &New Video Note", "221 &Edit Properies", "-", "222 &Delete", "223 Delete &All"},
      {"231 Add &New Photo", "232 &Edit Properies", "-", "230 &Photo Album", "-", "234 &Delete",
       "235 Delete &All"},
      {"240 Add &New Time Notification", "241 &Edit Properies", "-", "242 &Delete", "243 Delete &All"},
      {"250 Add &New Email Resource", "251 &Edit Properies", "-", "256 &Send Mail", "-", "253 &Delete",
       "254 Delete &All"},
      {"260 Add &New Internet Resource", "261 &Edit Properies", "-", "266 &Browse", "-", "263 &Delete",
       "264 Delete &All"},
      {"270 Add &New Fast Text", "271 &Edit Properies", "-", "273 &Delete", "274 Delete &All"},
  };
  for (int kind = 0; kind < 8; ++kind) {
    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(104 + kind));
    ASSERT_NE(menu, nullptr) << kind;
    EXPECT_EQ(ReadMenu(GetSubMenu(menu, 0)), menus[kind]) << kind;
    EXPECT_EQ(menus[kind][1].substr(0, 3), std::to_string(kKinds[kind].firstEditCommand));
    DestroyMenu(menu);
  }
}

TEST_F(MainWindowTest, ColumnsShareThePanesWidthUntilTheUserDragsADivider) {
  HKEY key = nullptr;
  RegDeleteKeyA(HKEY_CURRENT_USER, kColumnsKey);
  SetWindowPos(Main(), nullptr, 0, 0, 1024, 700, SWP_NOZORDER | SWP_NOACTIVATE);
  Command(IDM_SHOW_INTERNET_RESOURCES);
  std::vector<ListColumn> columns = ReadColumns(RecordList());
  ASSERT_EQ(columns.size(), 4u);
  int total = 0;
  for (const ListColumn& column : columns) total += column.width;
  EXPECT_EQ(total, ShareableWidth(RecordList())) << "the columns fill the pane";
  EXPECT_EQ(ShareWidth({120, 180, 180, 120}, 600), (std::vector<int>{120, 180, 180, 120}));
  EXPECT_EQ(ShareWidth({120, 180, 120}, 840), (std::vector<int>{240, 360, 240}));
  // Wider, they follow.
  SetWindowPos(Main(), nullptr, 0, 0, 1200, 700, SWP_NOZORDER | SWP_NOACTIVATE);
  total = 0;
  for (const ListColumn& column : ReadColumns(RecordList())) total += column.width;
  EXPECT_EQ(total, ShareableWidth(RecordList()));

  // The user drags the title's divider: the kind's widths are kept, across
  // resizing and showing the kind again, under the program's key.
  HDITEMA item = {};
  item.mask = HDI_WIDTH;
  item.cxy = 333;
  NMHEADERA drag = {};
  drag.hdr.hwndFrom = ListView_GetHeader(RecordList());
  drag.hdr.code = HDN_ENDTRACKA;
  drag.iItem = 1;
  drag.pitem = &item;
  SendMessageA(Main(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&drag));
  const std::vector<ListColumn> kept = ReadColumns(RecordList());
  EXPECT_EQ(kept[1].width, 333);
  SetWindowPos(Main(), nullptr, 0, 0, 900, 650, SWP_NOZORDER | SWP_NOACTIVATE);
  Command(IDM_SHOW_TEXT_NOTES);
  Command(IDM_SHOW_INTERNET_RESOURCES);
  columns = ReadColumns(RecordList());
  for (size_t i = 0; i < columns.size(); ++i) EXPECT_EQ(columns[i].width, kept[i].width) << i;
  char text[kRegistryStringSize] = {};
  ASSERT_TRUE(ReadRegistryString(kColumnsKey, "InternetRes", text));
  EXPECT_EQ(std::string(text).find(",333,"), std::string(text).find(','));
  // Other kinds still share the width.
  Command(IDM_SHOW_TEXT_NOTES);
  ExpectColumns(RecordList(), kKinds[0].columns);
  RegDeleteKeyA(HKEY_CURRENT_USER, kColumnsKey);
  (void)key;
}

TEST_F(MainWindowTest, ANarrowWindowKeepsItsMinimumSizeAndEachToolbarsChevronOffersWhatItHides) {
  MINMAXINFO limits = {};
  SendMessageA(Main(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
  EXPECT_EQ(limits.ptMinTrackSize.x, kMinimumWindowWidth);
  EXPECT_EQ(limits.ptMinTrackSize.y, kMinimumWindowHeight);

  // Every caption in full: the buttons are as wide as the longest one.
  RECT button = {}, toolbar = {};
  SendMessageA(MainToolbar(), TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&button));
  GetClientRect(MainToolbar(), &toolbar);
  EXPECT_EQ(toolbar.bottom, button.bottom - button.top) << "the toolbar is as high as its buttons";
  HDC context = GetDC(MainToolbar());
  HGDIOBJ old = SelectObject(context, reinterpret_cast<HFONT>(SendMessageA(MainToolbar(), WM_GETFONT, 0, 0)));
  SIZE caption = {};
  GetTextExtentPoint32A(context, "Internet Resource", 17, &caption);
  SelectObject(context, old);
  ReleaseDC(MainToolbar(), context);
  EXPECT_GT(button.right - button.left, caption.cx) << "\"Internet Resource\" fits its button";

  SetWindowPos(Main(), nullptr, 0, 0, kMinimumWindowWidth, kMinimumWindowHeight, SWP_NOZORDER | SWP_NOACTIVATE);
  Command(IDM_SHOW_PHOTOS);
  PumpMessages();
  ScopedTracker tracker;
  // Each band on a line of its own, then both on one line (as dragging the
  // edit toolbar's gripper up beside the main toolbar puts them). A band
  // narrower than its toolbar shows a chevron, and a click on it offers the
  // buttons it hides, ending with its last; the first button is on show.
  struct Chevron {
    bool oneLine;
    UINT band;
    std::vector<std::string> offered;  // empty: no chevron
  };
  const Chevron chevrons[] = {
      {false, 0, {"270 Fast Text", "282 Help", "296 Find"}},
      {false, 1, {}},  // the photos' buttons fit a line
      {true, 0, {"270 Fast Text", "282 Help", "296 Find"}},
      {true, 1, {"230 Photo Album"}},
  };
  for (const Chevron& chevron : chevrons) {
    SCOPED_TRACE(std::to_string(chevron.band) + (chevron.oneLine ? " on one line" : " on its own line"));
    REBARBANDINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = RBBIM_STYLE;
    SendMessageA(Rebar(), RB_GETBANDINFOA, 1, reinterpret_cast<LPARAM>(&info));
    info.fStyle = chevron.oneLine ? info.fStyle & ~RBBS_BREAK : info.fStyle | RBBS_BREAK;
    SendMessageA(Rebar(), RB_SETBANDINFOA, 1, reinterpret_cast<LPARAM>(&info));
    PumpMessages();
    RECT band = {};
    SendMessageA(Rebar(), RB_GETRECT, chevron.band, reinterpret_cast<LPARAM>(&band));
    RBHITTESTINFO hit = {};
    hit.pt.y = (band.top + band.bottom) / 2;
    for (hit.pt.x = band.right - 1; hit.pt.x > band.left; --hit.pt.x) {
      SendMessageA(Rebar(), RB_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
      if (hit.flags == RBHT_CHEVRON) break;
    }
    if (chevron.offered.empty()) {
      EXPECT_NE(hit.flags, static_cast<UINT>(RBHT_CHEVRON));
      continue;
    }
    ASSERT_EQ(hit.flags, static_cast<UINT>(RBHT_CHEVRON)) << "the band shows a chevron";
    EXPECT_EQ(hit.iBand, static_cast<int>(chevron.band));
    gTrackedMenus.clear();
    SendMessageA(Rebar(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(hit.pt.x, hit.pt.y));
    SendMessageA(Rebar(), WM_LBUTTONUP, 0, MAKELPARAM(hit.pt.x, hit.pt.y));
    ASSERT_EQ(gTrackedMenus.size(), 1u);
    EXPECT_EQ(gTrackedOwner, Main());
    const std::vector<std::string>& hidden = gTrackedMenus[0];
    for (const std::string& item : chevron.offered) {
      EXPECT_NE(std::find(hidden.begin(), hidden.end(), item), hidden.end()) << item;
    }
    EXPECT_EQ(hidden.back(), chevron.offered.back());
    EXPECT_NE(hidden.front(), "-");
    TBBUTTON first = {};
    SendMessageA(chevron.band == 0 ? MainToolbar() : EditToolbar(), TB_GETBUTTON, 0,
                 reinterpret_cast<LPARAM>(&first));
    for (const std::string& item : hidden)
      EXPECT_NE(item.substr(0, item.find(' ')), std::to_string(first.idCommand));
  }
}

TEST_F(MainWindowTest, TheKeyboardOpensTheContextMenuAtTheFocusedRow) {
  ScopedTracker tracker;
  for (const char* name : {"Ann", "Bob", "Cyd"}) {
    EmailValues mail;
    mail.name = name;
    mail.email = std::string(name) + "@example.org";
    EmailResManager::AppendRecord(Main(), mail);
  }
  ShowWindow(Main(), SW_SHOWNOACTIVATE);
  FocusRow(2);
  // Shift+F10 and the Menu key reach the window as WM_CONTEXTMENU without a
  // position: the menu opens below the focused row, Send Mail in it.
  SendMessageA(Main(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(RecordList()), -1);
  ASSERT_EQ(gTrackedMenus.size(), 1u);
  EXPECT_EQ(gTrackedMenus[0][3], "256 &Send Mail");
  RECT row = {};
  ListView_GetItemRect(RecordList(), 2, &row, LVIR_LABEL);
  MapWindowPoints(RecordList(), nullptr, reinterpret_cast<POINT*>(&row), 2);
  EXPECT_GE(gTrackedAt.x, row.left);
  EXPECT_LT(gTrackedAt.x, row.right);
  EXPECT_EQ(gTrackedAt.y, row.bottom);
  // The message a right click sends after NM_RCLICK opens no second menu.
  SendMessageA(Main(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(RecordList()), MAKELPARAM(20, 20));
  EXPECT_EQ(gTrackedMenus.size(), 1u);
  // Without a focused row, nothing.
  ListView_SetItemState(RecordList(), -1, 0, LVIS_FOCUSED | LVIS_SELECTED);
  SendMessageA(Main(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(RecordList()), -1);
  EXPECT_EQ(gTrackedMenus.size(), 1u);

}

TEST_F(MainWindowTest, ExitAsksAndOnlyYesEndsTheWindow) {
  ShowWindow(Main(), SW_SHOWNOACTIVATE);
  m_boxes.answer = kIdNo;
  Command(IDM_EXIT);
  ASSERT_EQ(m_boxes.shown.size(), 1u);
  EXPECT_EQ(m_boxes.shown[0].text, "Would you like to Exit Quillmate?");
  EXPECT_EQ(m_boxes.shown[0].caption, "Quillmate");
  EXPECT_EQ(m_boxes.shown[0].style, kMbYesNo | kMbIconQuestion);
  // Owned by the main window on screen, so that it is modal to it.
  EXPECT_EQ(m_boxes.shown[0].owner, Main());
  EXPECT_TRUE(IsWindow(Main()));
  EXPECT_TRUE(IsWindowVisible(Main()));
  EXPECT_EQ(ListView_GetItemCount(ManagerList()), 8);
  // Asked from the tray while the window is hidden: no owner to be modal to,
  // and the tray's Exit while the question is up asks nothing more.
  ShowWindow(Main(), SW_HIDE);
  m_boxes.whileOpen = [this](std::size_t, const ShownBox&) { Command(IDM_EXIT); };
  Command(IDM_EXIT);
  m_boxes.whileOpen = nullptr;
  ASSERT_EQ(m_boxes.shown.size(), 2u);
  EXPECT_EQ(m_boxes.shown[1].owner, nullptr);
  ShowWindow(Main(), SW_SHOWNOACTIVATE);

  // Yes goes to the exit hook when one is installed ...
  gHookCalls.clear();
  gMainWindowHooks.exitConfirmed = [](HWND window) { gHookCalls.push_back({window, IDM_EXIT}); };
  m_boxes.answer = kIdYes;
  Command(IDM_EXIT);
  ASSERT_EQ(gHookCalls.size(), 1u);
  EXPECT_EQ(gHookCalls[0].first, Main());
  EXPECT_TRUE(IsWindow(Main()));

  // ... and otherwise destroys the window, which posts the quit message.
  gMainWindowHooks.exitConfirmed = nullptr;
  HWND window = Main();
  Command(IDM_EXIT);
  EXPECT_FALSE(IsWindow(window));
  MSG message;
  ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(message.wParam, 0u);
}

// The request arrives through whatever message loop runs: here the one of a
// real message box, which a thread timer interrupts to send it.
struct RequestDuringBox {
  HWND mainWindow;
  UINT message;
  LRESULT answer;
  bool sent;
};
RequestDuringBox gRequestDuringBox;

BOOL CALLBACK FindVisibleBox(HWND window, LPARAM parameter) {
  char className[8] = {};
  GetClassNameA(window, className, sizeof className);
  if (!IsWindowVisible(window) || std::strcmp(className, "#32770") != 0) return TRUE;
  *reinterpret_cast<HWND*>(parameter) = window;
  return FALSE;
}

// Ticks until the box is on the screen, then sends the request once and
// closes the box.
void CALLBACK SendRequestFromTimer(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND box = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindVisibleBox, reinterpret_cast<LPARAM>(&box));
  if (!box) return;
  KillTimer(nullptr, timer);
  gRequestDuringBox.answer = SendMessageA(gRequestDuringBox.mainWindow, gRequestDuringBox.message, 0, 0);
  gRequestDuringBox.sent = true;
  PostMessageA(box, WM_COMMAND, IDOK, 0);
}

LRESULT RequestExitWhileABoxIsOpen(HWND mainWindow, UINT message, HWND boxOwner) {
  gRequestDuringBox = {mainWindow, message, -1, false};
  SetTimer(nullptr, 0, 50, SendRequestFromTimer);
  // A real box, shown the program's one way.
  ScopedMessageBoxScript realBox(PlatformShowMessageBox);
  ShowMessageBox(boxOwner, "A question the user has not answered yet", "Quillmate", MB_OK);
  EXPECT_TRUE(gRequestDuringBox.sent);
  return gRequestDuringBox.answer;
}

TEST_F(MainWindowTest, ExitRequestEndsLikeExitAnsweredYesButNotWhileADialogIsOpen) {
  // The number other processes get for the same name.
  const UINT request = RegisterWindowMessageA("QuillmateExitRequest");
  ASSERT_NE(request, 0u);
  ShowWindow(Main(), SW_SHOWNOACTIVATE);

  // A box without owner, a box owned by the main window, and one owned by
  // it while it is hidden in the tray: the request is refused each time.
  EXPECT_EQ(RequestExitWhileABoxIsOpen(Main(), request, nullptr), 0);
  EXPECT_EQ(RequestExitWhileABoxIsOpen(Main(), request, Main()), 0);
  CSystemTray::HideToTray(Main());
  EXPECT_EQ(RequestExitWhileABoxIsOpen(Main(), request, Main()), 0);
  EXPECT_TRUE(IsWindow(Main()));
  CSystemTray::RestoreFromTray(Main());

  // At rest it ends without a question: through the exit hook when one is
  // installed ...
  gHookCalls.clear();
  gMainWindowHooks.exitConfirmed = [](HWND window) { gHookCalls.push_back({window, IDM_EXIT}); };
  EXPECT_EQ(SendMessageA(Main(), request, 0, 0), 1);
  ASSERT_EQ(gHookCalls.size(), 1u);
  EXPECT_EQ(gHookCalls[0].first, Main());

  // ... and otherwise by destroying the window, which posts the quit
  // message, also while it is hidden in the tray.
  gMainWindowHooks.exitConfirmed = nullptr;
  CSystemTray::HideToTray(Main());
  HWND window = Main();
  EXPECT_EQ(SendMessageA(window, request, 0, 0), 1);
  EXPECT_FALSE(IsWindow(window));
  MSG message;
  ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(message.wParam, 0u);
  EXPECT_TRUE(m_boxes.shown.empty());
}

TEST_F(MainWindowTest, ClosingHidesTheWindowAndTheTrayCommandsReachTheirHooks) {
  ShowWindow(Main(), SW_SHOW);
  SendMessageA(Main(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(Main()));
  EXPECT_FALSE(IsWindowVisible(Main()));
  Command(IDM_RESTORE_FROM_TRAY);
  EXPECT_TRUE(IsWindowVisible(Main()));
  Command(IDM_HIDE_TO_TRAY);
  EXPECT_FALSE(IsWindowVisible(Main()));

  gHookCalls.clear();
  gMainWindowHooks.hideToTray = [](HWND window) { gHookCalls.push_back({window, IDM_HIDE_TO_TRAY}); };
  gMainWindowHooks.restoreFromTray = [](HWND window) {
    gHookCalls.push_back({window, IDM_RESTORE_FROM_TRAY});
  };
  gMainWindowHooks.openHelp = [](HWND window) { gHookCalls.push_back({window, IDM_HELP_CONTENTS}); };
  gMainWindowHooks.fastTextCommand = [](HWND window, int id) { gHookCalls.push_back({window, id}); };
  gMainWindowHooks.trayMessage = [](HWND window, WPARAM icon, LPARAM mouse) -> LRESULT {
    gHookCalls.push_back({window, static_cast<int>(icon + mouse)});
    return 1;
  };
  SendMessageA(Main(), WM_CLOSE, 0, 0);
  Command(IDM_RESTORE_FROM_TRAY);
  Command(IDM_HIDE_TO_TRAY);
  Command(IDM_HELP_CONTENTS);
  Command(IDM_FAST_TEXT_FIRST + 40);
  EXPECT_EQ(SendMessageA(Main(), WM_APP + 10, 102, WM_RBUTTONUP), 1);
  const std::vector<std::pair<HWND, int>> expected = {
      {Main(), IDM_HIDE_TO_TRAY},  {Main(), IDM_RESTORE_FROM_TRAY},    {Main(), IDM_HIDE_TO_TRAY},
      {Main(), IDM_HELP_CONTENTS}, {Main(), IDM_FAST_TEXT_FIRST + 40}, {Main(), 102 + WM_RBUTTONUP}};
  EXPECT_EQ(gHookCalls, expected);
}

TEST_F(MainWindowTest, TheTimerTicksTheNotificationHookEveryHalfSecond) {
  static int ticks = 0;
  static HWND tickedWindow = nullptr;
  ticks = 0;
  gMainWindowHooks.timerTick = [](HWND window) {
    ++ticks;
    tickedWindow = window;
  };
  const DWORD start = GetTickCount();
  while (ticks < 2 && GetTickCount() - start < 5000) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
    PumpMessages();
  }
  EXPECT_GE(ticks, 2);
  EXPECT_EQ(tickedWindow, Main());
  // Another timer id is not the notification timer.
  const int before = ticks;
  SendMessageA(Main(), WM_TIMER, 7, 0);
  EXPECT_EQ(ticks, before);
}

TEST_F(MainWindowTest, PageSetupResetsMarginsUntilAPrinterIsChosen) {
  const PAGESETUPDLGA saved = gPageSetup;
  // Before start-up fills the record it already asks for one-inch margins.
  EXPECT_EQ(gPageSetup.lStructSize, 84u);
  EXPECT_EQ(gPageSetup.rtMargin.left, 1000);

  PageSetupDialogFunction previous = gPageSetupDialog;
  gPageSetupDialog = RecordPageSetup;
  gPageSetupCalls.clear();
  gPageSetup.rtMargin = {10, 20, 30, 40};
  gPageSetup.lpfnPagePaintHook = reinterpret_cast<LPPAGEPAINTHOOK>(0x1234);
  SendMessageA(Main(), WM_COMMAND, IDM_PAGE_SETUP, 0);
  ASSERT_EQ(gPageSetupCalls.size(), 1u);
  const PAGESETUPDLGA& first = gPageSetupCalls[0];
  EXPECT_EQ(first.lStructSize, 84u);
  EXPECT_EQ(first.hwndOwner, Main());
  EXPECT_EQ(first.Flags, static_cast<DWORD>(PSD_MARGINS | PSD_INTHOUSANDTHSOFINCHES));
  EXPECT_EQ(first.rtMargin.left, 1000);
  EXPECT_EQ(first.rtMargin.top, 1000);
  EXPECT_EQ(first.rtMargin.right, 1000);
  EXPECT_EQ(first.rtMargin.bottom, 1000);
  EXPECT_EQ(first.lpfnPagePaintHook, nullptr);

  // Once a printer was chosen the user's margins stay.
  gPageSetup.hDevNames = GlobalAlloc(GMEM_MOVEABLE, 64);
  gPageSetup.rtMargin = {500, 600, 700, 800};
  gPageSetup.Flags = 0;
  SendMessageA(Main(), WM_COMMAND, IDM_PAGE_SETUP, 0);
  ASSERT_EQ(gPageSetupCalls.size(), 2u);
  EXPECT_EQ(gPageSetupCalls[1].rtMargin.left, 500);
  EXPECT_EQ(gPageSetupCalls[1].rtMargin.bottom, 800);
  EXPECT_EQ(gPageSetupCalls[1].Flags, static_cast<DWORD>(PSD_MARGINS | PSD_INTHOUSANDTHSOFINCHES));
  GlobalFree(gPageSetup.hDevNames);

  // The accelerator Ctrl+P reaches the same command.
  HACCEL table = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_ACCELERATORS));
  MSG key = {Main(), WM_CHAR, 0x10, 0, 0, {0, 0}};
  EXPECT_TRUE(TranslateAcceleratorA(Main(), table, &key));
  EXPECT_EQ(gPageSetupCalls.size(), 3u);
  DestroyAcceleratorTable(table);

  gPageSetupDialog = previous;
  gPageSetup = saved;
}

TEST_F(MainWindowTest, AboutShowsTheModelessDialogOnWhite) {
  Command(IDM_ABOUT);
  HWND dialog = FindWindowA("#32770", "About Quillmate");
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(IsWindowVisible(dialog));
  EXPECT_EQ(GetWindow(dialog, GW_OWNER), Main());
  char text[64] = {};
  GetDlgItemTextA(dialog, IDC_ABOUT_NAME, text, sizeof text);
  EXPECT_STREQ(text, "Quillmate 1.0.1");
  GetDlgItemTextA(dialog, IDC_ABOUT_VERSION, text, sizeof text);
  EXPECT_STREQ(text, "Version 1.0.1");
  EXPECT_NE(SendDlgItemMessageA(dialog, IDC_ABOUT_PICTURE, STM_GETIMAGE, IMAGE_BITMAP, 0), 0);

  // The texts are drawn black on the white brush.
  HDC canvas = GetDC(dialog);
  SetTextColor(canvas, RGB(1, 2, 3));
  HBRUSH brush =
      reinterpret_cast<HBRUSH>(SendMessageA(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(canvas),
                                            reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_ABOUT_NAME))));
  LOGBRUSH colour = {};
  ASSERT_TRUE(GetObjectA(brush, sizeof colour, &colour));
  EXPECT_EQ(colour.lbColor, RGB(255, 255, 255));
  EXPECT_EQ(GetTextColor(canvas), RGB(0, 0, 0));
  EXPECT_EQ(GetBkMode(canvas), TRANSPARENT);
  HBRUSH background = reinterpret_cast<HBRUSH>(SendMessageA(
      dialog, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(canvas), reinterpret_cast<LPARAM>(dialog)));
  ASSERT_TRUE(GetObjectA(background, sizeof colour, &colour));
  EXPECT_EQ(colour.lbColor, RGB(255, 255, 255));
  ReleaseDC(dialog, canvas);
  // What is on screen: the dialog's surface next to its texts is white.
  UpdateWindow(dialog);
  HDC screen = GetDC(dialog);
  EXPECT_EQ(GetPixel(screen, 4, 4), RGB(255, 255, 255));
  ReleaseDC(dialog, screen);

  SendMessageA(dialog, WM_COMMAND, IDOK, 0);
  EXPECT_FALSE(IsWindow(dialog));
}

TEST_F(MainWindowTest, EditCommandsWithoutAnEditorDoNothingButReachTheTable) {
  TextNoteManager::AppendRecord(Main(), {"First", "TextNote1.doc", 0});
  FocusRow(0);
  // Not wired yet, or for another kind than the focused row's: no handler,
  // no box, the list stays as it was. (202, 284 and the double click open
  // the text note editor, TextNoteEditorTests.)
  for (int id : {211, 221, 232, 251, 261, 271}) {
    Command(id);
  }
  EXPECT_TRUE(m_boxes.shown.empty());
  EXPECT_EQ(ListView_GetItemCount(RecordList()), 1);
  EXPECT_EQ(CurrentKind(), 0);
  // The generic commands and every show, delete and window command are routed.
  for (int id :
       {201, 202, 204, 205, 207, 212, 213, 214, 222, 223, 224, 234, 235, 236, 242, 243, 244, 253, 254, 255, 256,
        263, 264, 265, 266, 273, 274, 275, 280, 282, 284, 285, 286, 290, 291, 292, 293, 294, 295, 50000}) {
    EXPECT_TRUE(HasCommandHandler(id)) << id;
  }
}
