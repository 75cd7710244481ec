// What the main window holds right after creation: its child controls with
// their ids, classes and styles, the managers, the image lists, the status
// bar, both toolbars, the tooltips, the menus and the accelerators.
#include "ShellTestSupport.h"

#include "Library/CSplitter.h"
#include "Resources/MainWindowIds.h"
#include "Resources/TrayIds.h"
#include "Shell/MainImageLists.h"

#include <cctype>
#include <cstring>
#include <set>

using namespace shelltest;

namespace {

std::string ClassOf(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

std::string LoadText(int id) {
  char text[256] = {};
  LoadStringA(GetModuleHandleA(nullptr), id, text, sizeof text);
  return text;
}

// Every item of menu and of its pop-ups has an access key, and no two items
// of one menu share one, so typing the letter chooses exactly one item.
void ExpectAccessKeys(HMENU menu, const std::string& where) {
  std::set<char> keys;
  for (int position = 0; position < GetMenuItemCount(menu); ++position) {
    char text[128] = {};
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING | MIIM_SUBMENU;
    info.dwTypeData = text;
    info.cch = sizeof text;
    GetMenuItemInfoA(menu, position, TRUE, &info);
    if (info.fType & MFT_SEPARATOR) continue;
    if (info.wID == IDM_FAST_TEXT_FIRST) continue;  // the placeholder, never shown
    const std::string item = where + " > " + text;
    const char* amp = std::strchr(text, '&');
    ASSERT_NE(amp, nullptr) << item;
    ASSERT_NE(amp[1], '\0') << item;
    EXPECT_TRUE(keys.insert(static_cast<char>(std::tolower(static_cast<unsigned char>(amp[1])))).second)
        << "a second item with the key " << amp[1] << ": " << item;
    if (info.hSubMenu) ExpectAccessKeys(info.hSubMenu, item);
  }
}

}  // namespace

TEST_F(MainWindowTest, ChildWindowsHaveTheirIdsClassesAndStyles) {
  EXPECT_EQ(ClassOf(Main()), "QuillmateClass");
  char title[32] = {};
  GetWindowTextA(Main(), title, sizeof title);
  EXPECT_STREQ(title, "Quillmate");
  EXPECT_NE(GetMenu(Main()), nullptr);  // the class menu 101

  EXPECT_EQ(ClassOf(ManagerList()), "SysListView32");
  EXPECT_EQ(
      static_cast<DWORD>(GetWindowLongA(ManagerList(), GWL_STYLE)) & (LVS_TYPEMASK | WS_CHILD | WS_VISIBLE),
      static_cast<DWORD>(WS_CHILD | WS_VISIBLE | LVS_ICON));
  EXPECT_TRUE(GetWindowLongA(ManagerList(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  // Made in icon view: no header, which would never be shown.
  EXPECT_EQ(GetWindow(ManagerList(), GW_CHILD), nullptr);

  EXPECT_EQ(ClassOf(RecordList()), "SysListView32");
  EXPECT_EQ(GetWindowLongA(RecordList(), GWL_STYLE) & LVS_TYPEMASK, LVS_REPORT);
  EXPECT_TRUE(GetWindowLongA(RecordList(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  EXPECT_TRUE(ListView_GetExtendedListViewStyle(RecordList()) & LVS_EX_FULLROWSELECT);
  // Made last, at its place, but next to the manager list in the children's
  // order (the order in which the panes are read out).
  EXPECT_EQ(GetWindow(ManagerList(), GW_HWNDNEXT), RecordList());

  EXPECT_EQ(ClassOf(StatusBar()), "msctls_statusbar32");
  EXPECT_TRUE(GetWindowLongA(StatusBar(), GWL_STYLE) & SBARS_SIZEGRIP);
  EXPECT_EQ(ClassOf(ProgressBar()), "msctls_progress32");

  EXPECT_EQ(ClassOf(Rebar()), "ReBarWindow32");
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(Rebar(), GWL_STYLE)), 0x50800641u);
  EXPECT_TRUE(GetWindowLongA(Rebar(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  EXPECT_EQ(ClassOf(MainToolbar()), "ToolbarWindow32");
  EXPECT_EQ(ClassOf(EditToolbar()), "ToolbarWindow32");
  EXPECT_TRUE(GetWindowLongA(EditToolbar(), GWL_STYLE) & TBSTYLE_LIST);
  EXPECT_FALSE(GetWindowLongA(MainToolbar(), GWL_STYLE) & TBSTYLE_LIST);
  EXPECT_TRUE(GetWindowLongA(MainToolbar(), GWL_STYLE) & TBSTYLE_TOOLTIPS);

  HWND bar = Child(ID_SPLITTER_BAR);
  EXPECT_EQ(ClassOf(bar), CSplitter::kBarClassName);
}

TEST_F(MainWindowTest, ManagerListHoldsTheEightManagersWithTheirPictures) {
  const char* names[] = {"Text Note Manager",         "Audio Note Manager",
                         "Video Note Manager",        "Photo Manager",
                         "Time Notification Manager", "Email Resource Manager",
                         "Internet Resource Manager", "Fast Text Manager"};
  ASSERT_EQ(ListView_GetItemCount(ManagerList()), 8);
  for (int position = 0; position < 8; ++position) {
    char text[64] = {};
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = position;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    ASSERT_TRUE(SendMessageA(ManagerList(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    EXPECT_STREQ(text, names[position]);
    EXPECT_EQ(item.iImage, position);
    EXPECT_EQ(item.lParam, 0);
  }

  struct Expected {
    HIMAGELIST list;
    int size;
    int count;
  };
  const Expected lists[] = {
      {ListView_GetImageList(ManagerList(), LVSIL_NORMAL), 42, 8},
      {ListView_GetImageList(ManagerList(), LVSIL_SMALL), 16, 8},
      {reinterpret_cast<HIMAGELIST>(SendMessageA(MainToolbar(), TB_GETIMAGELIST, 0, 0)), 32, 10},
      {reinterpret_cast<HIMAGELIST>(SendMessageA(EditToolbar(), TB_GETIMAGELIST, 0, 0)), 16, 14},
  };
  for (const Expected& expected : lists) {
    ASSERT_NE(expected.list, nullptr);
    int width = 0, height = 0;
    ImageList_GetIconSize(expected.list, &width, &height);
    EXPECT_EQ(width, expected.size);
    EXPECT_EQ(height, expected.size);
    EXPECT_EQ(ImageList_GetImageCount(expected.list), expected.count);
  }
  EXPECT_EQ(ListView_GetImageList(ManagerList(), LVSIL_NORMAL), gManagerImagesLarge.GetHandle());

  // Magenta is the mask: drawn on green, a corner of the first manager
  // picture shows the green, its middle does not; in the small pictures,
  // shrunk from the large ones, as well.
  struct Picture {
    HIMAGELIST list;
    int size;
  };
  for (const Picture& picture :
       {Picture{gManagerImagesLarge.GetHandle(), 42}, Picture{gManagerImagesSmall.GetHandle(), 16}}) {
    SCOPED_TRACE(picture.size);
    HDC screen = GetDC(nullptr);
    HDC canvas = CreateCompatibleDC(screen);
    HBITMAP surface = CreateCompatibleBitmap(screen, picture.size, picture.size);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(canvas, surface);
    HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
    RECT all = {0, 0, picture.size, picture.size};
    FillRect(canvas, &all, green);
    EXPECT_TRUE(ImageList_Draw(picture.list, 0, canvas, 0, 0, ILD_NORMAL));
    const int middleX = picture.size / 2, middleY = picture.size * 30 / 42;
    EXPECT_EQ(GetPixel(canvas, 0, 0), RGB(0, 255, 0));
    EXPECT_NE(GetPixel(canvas, middleX, middleY), RGB(0, 255, 0));
    EXPECT_NE(GetPixel(canvas, middleX, middleY), RGB(255, 0, 255));
    SelectObject(canvas, old);
    DeleteObject(green);
    DeleteObject(surface);
    DeleteDC(canvas);
  }
}

TEST_F(MainWindowTest, StatusBarHasThreePartsReadyAndTheProgressBarInPartOne) {
  int edges[4] = {};
  ASSERT_EQ(SendMessageA(StatusBar(), SB_GETPARTS, 4, reinterpret_cast<LPARAM>(edges)), 3);
  EXPECT_EQ(edges[0], 150);
  EXPECT_EQ(edges[1], 400);
  EXPECT_EQ(edges[2], -1);
  EXPECT_EQ(ReadStatusText(StatusBar(), 0), "Ready");

  RECT part = {};
  SendMessageA(StatusBar(), SB_GETRECT, 1, reinterpret_cast<LPARAM>(&part));
  const RECT progress = ChildRect(ProgressBar());
  EXPECT_EQ(progress.left, part.left + 4);
  EXPECT_EQ(progress.top, 4);
  EXPECT_EQ(progress.right - progress.left, 93);
  EXPECT_EQ(progress.bottom - progress.top, 15);
  PBRANGE range = {};
  SendMessageA(ProgressBar(), PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
  EXPECT_EQ(range.iLow, 0);
  EXPECT_EQ(range.iHigh, 100);
  // The text notes were shown at creation, which ends at 100; the bar is
  // on screen only while a list fills.
  EXPECT_EQ(SendMessageA(ProgressBar(), PBM_GETPOS, 0, 0), 100);
  EXPECT_FALSE(GetWindowLongA(ProgressBar(), GWL_STYLE) & WS_VISIBLE);
}

TEST_F(MainWindowTest, MainToolbarHasTheAddButtonsHelpAndFind) {
  const std::vector<ToolbarButton> expected = {
      {0, IDM_ADD_TEXT_NOTE, "Text Note", false, true},
      {1, IDM_ADD_AUDIO_NOTE, "Audio Note", false, true},
      {2, IDM_ADD_VIDEO_NOTE, "Video Note", false, true},
      {3, IDM_ADD_PHOTO, "Photo Album", false, true},
      {4, IDM_ADD_TIME_NOTIFICATION, "Time Notification", false, true},
      {5, IDM_ADD_EMAIL_RESOURCE, "Email Resource", false, true},
      {6, IDM_ADD_INTERNET_RESOURCE, "Internet Resource", false, true},
      {7, IDM_ADD_FAST_TEXT, "Fast Text", false, true},
      {-1, 0, "", true, true},
      {8, IDM_HELP_CONTENTS, "Help", false, true},
      {9, IDM_FIND, "Find", false, true},
  };
  const std::vector<ToolbarButton> buttons = ReadToolbar(MainToolbar());
  ASSERT_EQ(buttons.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(buttons[i].separator, expected[i].separator);
    EXPECT_EQ(buttons[i].image, expected[i].image);
    EXPECT_EQ(buttons[i].command, expected[i].command);
    EXPECT_EQ(buttons[i].label, expected[i].label);
    if (!expected[i].separator) {
      EXPECT_TRUE(buttons[i].enabled);
      RECT rect = {};
      SendMessageA(MainToolbar(), TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&rect));
      // At least 72 wide, and wider where the longest caption needs it.
      EXPECT_GE(rect.right - rect.left, 72);
      EXPECT_LE(rect.right - rect.left, 120);
    }
  }
  // The edit toolbar carries the text notes' commands from the start.
  const std::vector<ToolbarButton> edit = ReadToolbar(EditToolbar());
  ASSERT_EQ(edit.size(), 5u);
  EXPECT_EQ(edit[0].command, IDM_EDIT_TEXT_NOTE);
  EXPECT_EQ(edit[0].label, "Edit");
  EXPECT_EQ(edit[4].command, IDM_DELETE_ALL_TEXT_NOTES);
}

TEST_F(MainWindowTest, RebarHoldsBothToolbarsAsBreakingBandsWithGrippers) {
  ASSERT_EQ(SendMessageA(Rebar(), RB_GETBANDCOUNT, 0, 0), 2);
  HWND children[] = {MainToolbar(), EditToolbar()};
  // The main toolbar is as high as its buttons with two caption rows.
  const int heights[] = {HIWORD(SendMessageA(MainToolbar(), TB_GETBUTTONSIZE, 0, 0)), 28};
  for (int index = 0; index < 2; ++index) {
    REBARBANDINFOA band = {};
    band.cbSize = sizeof(band);
    band.fMask = RBBIM_STYLE | RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE | RBBIM_COLORS;
    ASSERT_TRUE(SendMessageA(Rebar(), RB_GETBANDINFOA, index, reinterpret_cast<LPARAM>(&band)));
    EXPECT_EQ(band.hwndChild, children[index]);
    EXPECT_EQ(band.fStyle & 0x85u, 0x85u);
    EXPECT_EQ(band.cyMinChild, static_cast<UINT>(heights[index]));
    EXPECT_EQ(band.clrFore, static_cast<COLORREF>(0xFFFFDE));
  }
}

TEST_F(MainWindowTest, TooltipsComeFromTheStringsOfTheCommandIds) {
  const std::pair<int, const char*> tips[] = {
      {201, "Add New Text Note."},
      {212, "Delete Selected Audio Notes."},
      {230, "Preview Photo Album."},
      {256, "Write New Mail."},
      {266, "Browse to the Selected Web Page."},
      {271, "Edit  Fast Text."},
      {274, "Delete All  Fast Texts."},
      {403, "Print Text Note."},
      {IDM_FIND, "Find in Every Manager."},
  };
  for (const auto& [id, text] : tips) {
    NMTTDISPINFOA request = {};
    request.hdr.hwndFrom = MainToolbar();
    request.hdr.idFrom = id;
    request.hdr.code = TTN_NEEDTEXTA;
    SendMessageA(Main(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&request));
    ASSERT_EQ(request.hinst, GetModuleHandleA(nullptr));
    ASSERT_EQ(reinterpret_cast<UINT_PTR>(request.lpszText), static_cast<UINT_PTR>(id));
    EXPECT_EQ(LoadText(id), text);
  }
  // The wide request gets the same answer at its own field offsets.
  NMTTDISPINFOW wide = {};
  wide.hdr.idFrom = 205;
  wide.hdr.code = TTN_NEEDTEXTW;
  SendMessageA(Main(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&wide));
  EXPECT_EQ(wide.hinst, GetModuleHandleA(nullptr));
  EXPECT_EQ(reinterpret_cast<UINT_PTR>(wide.lpszText), 205u);
  // A tool named by a window handle is no command id and gets nothing.
  NMTTDISPINFOA byWindow = {};
  byWindow.hdr.idFrom = reinterpret_cast<UINT_PTR>(MainToolbar());
  byWindow.hdr.code = TTN_NEEDTEXTA;
  byWindow.uFlags = TTF_IDISHWND;
  SendMessageA(Main(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&byWindow));
  EXPECT_EQ(byWindow.lpszText, nullptr);
  EXPECT_EQ(byWindow.hinst, nullptr);
  // Commands without a row have no text: Help, the managers, Exit.
  for (int id : {282, 207, 290, 284}) EXPECT_EQ(LoadText(id), "") << id;
}

TEST_F(MainWindowTest, MenusAndAcceleratorsCarryTheCommands) {
  HMENU menu = GetMenu(Main());
  EXPECT_EQ(ReadMenu(menu),
            (std::vector<std::string>{"> &File", "> &Edit", "> &View", "> &Managers", "> &Help"}));
  EXPECT_EQ(ReadMenu(GetSubMenu(menu, 0)),
            (std::vector<std::string>{"> &New", "-", "295 Page Set&up...   \tCtrl+P", "-",
                                      "291 &Hide to Tray", "-", "290 E&xit"}));
  EXPECT_EQ(
      ReadMenu(GetSubMenu(GetSubMenu(menu, 0), 0)),
      (std::vector<std::string>{"201 &Text Note...", "210 &Audio Note...", "220 &Video Note...",
                                "231 &Photo Album...", "240 Ti&me Notification...", "250 &Email Resource...",
                                "260 &Internet Resource...", "270 &Fast Text..."}));
  EXPECT_EQ(ReadMenu(GetSubMenu(menu, 1)),
            (std::vector<std::string>{"284 &Edit/Play Selected Item", "-", "285 &Delete", "-",
                                      "286 Delete &All", "-", "296 &Find...\tCtrl+F"}));
  EXPECT_EQ(ReadMenu(GetSubMenu(menu, 2)),
            (std::vector<std::string>{"293 Show/hide &Main Toolbar", "294 Show/hide &Edit Toolbar"}));
  EXPECT_EQ(ReadMenu(GetSubMenu(menu, 3)),
            (std::vector<std::string>{"207 &Text Note Manager", "214 &Audio Note Manager",
                                      "224 &Video Note Manager", "236 &Photo Manager",
                                      "244 Ti&me Notification Manager", "255 &Email Resource Manager",
                                      "265 &Internet Resource Manager", "275 &Fast Text Manager"}));
  EXPECT_EQ(ReadMenu(GetSubMenu(menu, 4)),
            (std::vector<std::string>{"282 &Contents \tF1", "-", "280 &About ..."}));

  // Access keys everywhere: the window's menu, the tray's and the record
  // list's context menus.
  ExpectAccessKeys(menu, "main");
  for (int id : {IDR_TRAY_MENU, 104, 105, 106, 107, 108, 109, 110, 111}) {
    HMENU loaded = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id));
    ASSERT_NE(loaded, nullptr) << id;
    ExpectAccessKeys(GetSubMenu(loaded, 0), std::to_string(id));
    DestroyMenu(loaded);
  }

  HACCEL table = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_ACCELERATORS));
  ASSERT_NE(table, nullptr);
  ACCEL entries[4] = {};
  ASSERT_EQ(CopyAcceleratorTableA(table, entries, 4), 3);
  EXPECT_EQ(entries[0].key, 0x10);
  EXPECT_EQ(entries[0].cmd, IDM_PAGE_SETUP);
  EXPECT_FALSE(entries[0].fVirt & FVIRTKEY);
  EXPECT_EQ(entries[1].key, VK_F1);
  EXPECT_EQ(entries[1].cmd, IDM_HELP_CONTENTS);
  EXPECT_TRUE(entries[1].fVirt & FVIRTKEY);
  EXPECT_EQ(entries[2].key, 'F');
  EXPECT_EQ(entries[2].cmd, IDM_FIND);
  EXPECT_EQ(entries[2].fVirt & (FVIRTKEY | FCONTROL), FVIRTKEY | FCONTROL);
  DestroyAcceleratorTable(table);
}

TEST_F(MainWindowTest, ManifestGivesTheCurrentCommonControls) {
  // The toolbar's window procedure lies in the side-by-side assembly of
  // the common controls 6 that the manifest asks for, not in the system's
  // comctl32 (Wine's copy of version 6 reports 5 from DllGetVersion, so the
  // module's path is what tells them apart).
  HMODULE controls = nullptr;
  ASSERT_TRUE(GetModuleHandleExA(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<const char*>(GetClassLongPtrW(MainToolbar(), GCLP_WNDPROC)), &controls));
  char path[MAX_PATH] = {};
  GetModuleFileNameA(controls, path, sizeof path);
  std::string lower(path);
  for (char& c : lower) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
  EXPECT_NE(lower.find("microsoft.windows.common-controls_6595b64144ccf1df_6."), std::string::npos) << path;
}

namespace {

// The manager list's image lists as it saw them when it was destroyed.
WNDPROC gManagerListProcedure = nullptr;
HIMAGELIST gListsAtDestruction[2] = {};

LRESULT CALLBACK WatchManagerListDestruction(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    gListsAtDestruction[0] = ListView_GetImageList(list, LVSIL_NORMAL);
    gListsAtDestruction[1] = ListView_GetImageList(list, LVSIL_SMALL);
  }
  return CallWindowProcA(gManagerListProcedure, list, message, wParam, lParam);
}

}  // namespace

TEST_F(MainWindowTest, DestroyingTheWindowDestroysEachImageListOnce) {
  // The manager list owns the lists it holds (no LVS_SHAREIMAGELISTS) and
  // is destroyed after the window's own WM_DESTROY has destroyed them: it
  // must not be holding them any more by then.
  ASSERT_NE(ListView_GetImageList(ManagerList(), LVSIL_NORMAL), nullptr);
  ASSERT_NE(ListView_GetImageList(ManagerList(), LVSIL_SMALL), nullptr);
  const HIMAGELIST marker = reinterpret_cast<HIMAGELIST>(1);
  gListsAtDestruction[0] = gListsAtDestruction[1] = marker;
  gManagerListProcedure = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
      ManagerList(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WatchManagerListDestruction)));

  HWND window = Main();
  DestroyWindow(window);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(gListsAtDestruction[0], nullptr);
  EXPECT_EQ(gListsAtDestruction[1], nullptr);
  EXPECT_EQ(gManagerImagesLarge.GetHandle(), nullptr);
  EXPECT_EQ(gManagerImagesSmall.GetHandle(), nullptr);
  EXPECT_EQ(gMainToolbarImages.GetHandle(), nullptr);
  EXPECT_EQ(gEditToolbarImages.GetHandle(), nullptr);
  MSG message;
  EXPECT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}
