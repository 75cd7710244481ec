// The control wrappers, window records, image lists and the handler guard
// under Wine, on real windows and common controls.
#include "Library/CButton.h"
#include "Library/CCheckBox.h"
#include "Library/CComboBox.h"
#include "Library/CDateTime.h"
#include "Library/CEdit.h"
#include "Library/CImageList.h"
#include "Library/CListView.h"
#include "Library/CProgress.h"
#include "Library/CRebar.h"
#include "Library/CRichEdit.h"
#include "Library/CStatic.h"
#include "Library/CStatusbar.h"
#include "Library/CToolbar.h"
#include "Library/CTrackbar.h"
#include "Library/CWinApp.h"
#include "Library/ModeSetter.h"
#include "Library/ToolkitErrors.h"
#include "Library/WindowClassDef.h"
#include "Library/WindowCreateDef.h"
#include "Library/WindowProcGuard.h"
#include "Support/MessagePump.h"
#include "Support/TestHostWindow.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

using qmtest::TestHostWindow;

class ToolkitTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_BAR_CLASSES |
                                                          ICC_COOL_CLASSES | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    LoadLibraryA("RICHED20.DLL");
  }

  TestHostWindow m_host{640, 480};
};

TEST_F(ToolkitTest, AttachingToAMissingIdGivesAWrapperWhoseOperationsReturnZero) {
  const int missingId = 4242;
  CListView list(m_host.Handle(), missingId);
  EXPECT_FALSE(list.HasWindow());
  EXPECT_EQ(m_host.Handle(), list.GetParent());
  EXPECT_EQ(missingId, list.GetId());
  EXPECT_EQ(0, list.InsertColumn(0, "Date", 120));
  EXPECT_EQ(0, list.InsertItem(0, "row", -1, 77));
  EXPECT_EQ(0, list.GetItemCount());
  EXPECT_EQ(0, list.GetFocusedItem());
  EXPECT_EQ(0, list.GetItemParam(0));
  EXPECT_EQ(0, list.DeleteAllItems());
  EXPECT_EQ(0, list.SetText("x"));
  CString text("old");
  EXPECT_EQ(0, list.GetText(text));
  EXPECT_STREQ("", text);
  EXPECT_EQ(0, list.GetItemText(0, 0, text));

  EXPECT_EQ(0, CToolbar(m_host.Handle(), missingId).GetButtonCount());
  EXPECT_EQ(0, CToolbar(m_host.Handle(), missingId).AddString("Edit"));
  EXPECT_EQ(0, CCheckBox(m_host.Handle(), missingId).GetCheck());
  EXPECT_EQ(0, CComboBox(m_host.Handle(), missingId).AddString("x"));
  EXPECT_EQ(0, CProgress(m_host.Handle(), missingId).SetPos(50));
  int edges[] = {150, -1};
  EXPECT_EQ(0, CStatusbar(m_host.Handle(), missingId).SetParts(2, edges));
  EXPECT_EQ(0, CTrackbar(m_host.Handle(), missingId).GetPos());
  EXPECT_EQ(0, CRebar(nullptr, missingId).GetBandCount());
}

TEST_F(ToolkitTest, ListViewCarriesTheRecordListOperations) {
  CListView list;
  ASSERT_TRUE(list.Create(m_host.Handle(), 1004, WS_EX_CLIENTEDGE, WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0,
                          600, 300));
  EXPECT_EQ(list.GetWindow(), GetDlgItem(m_host.Handle(), 1004));
  list.SetExtendedStyle(LVS_EX_FULLROWSELECT);
  EXPECT_EQ(static_cast<LRESULT>(LVS_EX_FULLROWSELECT), list.Send(LVM_GETEXTENDEDLISTVIEWSTYLE));

  EXPECT_EQ(0, list.InsertColumn(0, "Date", 120));
  EXPECT_EQ(1, list.InsertColumn(1, "Text Note Title", 180));
  EXPECT_EQ(2, list.InsertColumn(2, "Note Type", 120));
  for (int row = 0; row < 4; ++row) {
    std::string date = "date " + std::to_string(row);
    EXPECT_EQ(row, list.InsertItem(row, date.c_str(), -1, 1000 + row));
    EXPECT_TRUE(list.SetItemText(row, 1, ("title " + std::to_string(row)).c_str()));
  }
  EXPECT_EQ(4, list.GetItemCount());
  CString cell;
  EXPECT_EQ(7, list.GetItemText(2, 1, cell));
  EXPECT_STREQ("title 2", cell);
  std::string longTitle(300, 'w');
  list.SetItemText(3, 2, longTitle.c_str());
  EXPECT_EQ(300, list.GetItemText(3, 2, cell)) << "texts longer than the first buffer come back whole";
  EXPECT_EQ(1002, list.GetItemParam(2));

  // Selection and focus as the delete and edit commands walk them.
  list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
  list.SetItemState(2, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  EXPECT_EQ(2, list.GetSelectedCount());
  EXPECT_EQ(2, list.GetFocusedItem());
  std::vector<int> selected;
  for (int item = list.GetNextSelected(-1); item != -1; item = list.GetNextSelected(item))
    selected.push_back(item);
  EXPECT_EQ((std::vector<int>{1, 2}), selected);
  EXPECT_TRUE(list.EnsureVisible(3, false));

  EXPECT_TRUE(list.DeleteItem(1));
  EXPECT_EQ(1002, list.GetItemParam(1)) << "the next row moved up";
  EXPECT_TRUE(list.DeleteAllItems());
  EXPECT_EQ(0, list.GetItemCount());
  EXPECT_EQ(-1, list.GetFocusedItem());

  int removed = 0;
  while (list.DeleteColumn(0)) ++removed;
  EXPECT_EQ(3, removed) << "columns are deleted at position 0 until the list refuses";
}

TEST_F(ToolkitTest, BarsAndToolbarsAnswerTheirMessages) {
  CStatusbar status;
  ASSERT_TRUE(status.Create(m_host.Handle(), 1007, 0, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0));
  int edges[] = {150, 400, -1};
  EXPECT_TRUE(status.SetParts(3, edges));
  EXPECT_TRUE(status.SetPartText(0, "Ready"));
  RECT part = {};
  EXPECT_TRUE(status.GetPartRect(1, &part));
  EXPECT_NEAR(150, part.left, 3) << "part 1 starts at the first edge";

  CProgress progress;
  ASSERT_TRUE(progress.Create(status.GetWindow(), 1006, 0, WS_CHILD | WS_VISIBLE, part.left + 4, 4, 93, 15));
  progress.SetRange(0, 100);
  progress.SetPos(10);
  EXPECT_EQ(10, progress.SetPos(50)) << "setting the position returns the previous one";
  EXPECT_EQ(50, progress.GetPos());

  CRebar rebar;
  ASSERT_TRUE(rebar.Create(m_host.Handle(), 1000, WS_EX_TOOLWINDOW, 0x50800641, 0, 0, 0, 0));
  CToolbar toolbar;
  ASSERT_TRUE(toolbar.Create(rebar.GetWindow(), 1002, 0, 0x50009944, 0, 0, 200, 28));
  toolbar.SetButtonStructSize(sizeof(TBBUTTON));
  EXPECT_EQ(20u, sizeof(TBBUTTON));
  EXPECT_TRUE(toolbar.SetButtonWidth(32, 132));
  int editLabel = toolbar.AddString("Edit");
  int deleteLabel = toolbar.AddString("Delete");
  EXPECT_EQ(0, editLabel);
  EXPECT_EQ(1, deleteLabel) << "each label is one entry of the string list";
  TBBUTTON buttons[] = {{I_IMAGENONE, 202, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, editLabel},
                        {0, 0, 0, BTNS_SEP, {}, 0, 0},
                        {I_IMAGENONE, 204, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, deleteLabel}};
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(toolbar.InsertButton(i, &buttons[i]));
  EXPECT_EQ(3, toolbar.GetButtonCount());
  TBBUTTON read = {};
  EXPECT_TRUE(toolbar.GetButton(2, &read));
  EXPECT_EQ(204, read.idCommand);
  while (toolbar.GetButtonCount() > 0) toolbar.DeleteButton(0);
  EXPECT_EQ(0, toolbar.GetButtonCount());

  REBARBANDINFOA band = {};
  band.cbSize = sizeof band;
  band.fMask = RBBIM_STYLE | RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE;
  band.fStyle = RBBS_BREAK | RBBS_CHILDEDGE | RBBS_GRIPPERALWAYS;
  band.hwndChild = toolbar.GetWindow();
  band.cyMinChild = 28;
  band.cx = 200;
  EXPECT_TRUE(rebar.AppendBand(&band));
  EXPECT_EQ(1, rebar.GetBandCount());
  EXPECT_GT(rebar.GetBarHeight(), 0);
  EXPECT_TRUE(rebar.ShowBand(0, false));
}

TEST_F(ToolkitTest, DialogControlsGetAndSetTheirValues) {
  HWND host = m_host.Handle();
  CEdit edit;
  ASSERT_TRUE(
      edit.Create(host, 3001, 0, WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, 10, 10, 200, 22));
  edit.LimitText(5);
  edit.SetText("abc");
  CString text;
  EXPECT_EQ(3, CEdit(host, 3001).GetText(text)) << "an attached wrapper reaches the same control";
  EXPECT_STREQ("abc", text);

  CComboBox combo;
  ASSERT_TRUE(combo.Create(host, 3002, 0, WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, 10, 40, 200, 100));
  EXPECT_EQ(0, combo.AddString("Normal"));
  EXPECT_EQ(1, combo.AddString("Urgent"));
  EXPECT_EQ(1, combo.SetCurSel(1));
  EXPECT_EQ(1, combo.GetCurSel());
  EXPECT_EQ(6, combo.GetItemText(1, text));
  EXPECT_STREQ("Urgent", text);
  EXPECT_EQ(0, combo.FindStringExact("Normal"));

  CCheckBox check;
  ASSERT_TRUE(check.Create(host, 3003, 0, WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, 10, 70, 100, 20));
  EXPECT_FALSE(check.IsChecked());
  check.SetCheck(BST_CHECKED);
  EXPECT_TRUE(CCheckBox(host, 3003).IsChecked());

  CButton button;
  ASSERT_TRUE(button.Create(host, 3004, 0, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 100, 100, 24));
  int clicks = 0;
  m_host.SetHandler([&](HWND, UINT message, WPARAM wParam, LPARAM, LRESULT*) {
    if (message == WM_COMMAND && LOWORD(wParam) == 3004 && HIWORD(wParam) == BN_CLICKED) ++clicks;
    return false;
  });
  button.Click();
  EXPECT_EQ(1, clicks);

  CStatic label;
  ASSERT_TRUE(label.Create(host, 3005, 0, WS_CHILD | WS_VISIBLE, 10, 130, 100, 20));
  label.SetText("Title:");
  EXPECT_EQ(6, label.GetText(text));

  CDateTime picker;
  ASSERT_TRUE(picker.Create(host, 3006, 0, WS_CHILD | WS_VISIBLE | DTS_TIMEFORMAT, 10, 160, 150, 22));
  SYSTEMTIME when = {2003, 11, 5, 28, 9, 5, 3, 0};
  EXPECT_TRUE(picker.SetTime(&when));
  SYSTEMTIME back = {};
  EXPECT_EQ(GDT_VALID, picker.GetTime(&back));
  EXPECT_EQ(2003, back.wYear);
  EXPECT_EQ(28, back.wDay);
  EXPECT_EQ(9, back.wHour);
  EXPECT_EQ(3, back.wSecond);

  CTrackbar track;
  ASSERT_TRUE(track.Create(host, 3007, 0, WS_CHILD | WS_VISIBLE, 10, 190, 200, 30));
  track.SetRangeMin(0);
  track.SetRangeMax(120000);
  EXPECT_EQ(120000, track.GetRangeMax()) << "ranges beyond 16 bits survive";
  track.SetPos(70000);
  EXPECT_EQ(70000, track.GetPos());

  CRichEdit rich;
  ASSERT_TRUE(rich.Create(host, 3008, 0, WS_CHILD | WS_VISIBLE | ES_MULTILINE, 220, 10, 300, 200));
  rich.SetText("Hello");
  rich.SetSelection(-1, -1);
  rich.ReplaceSelection(" world");
  EXPECT_EQ(11, rich.GetText(text));
  EXPECT_STREQ("Hello world", text);
  rich.SetModify(false);
  EXPECT_FALSE(rich.GetModify());
  int start = -1, end = -1;
  rich.SetSelection(0, 5);
  rich.GetSelection(&start, &end);
  EXPECT_EQ(0, start);
  EXPECT_EQ(5, end);
}

LRESULT CALLBACK PlainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

TEST(WindowRecordTest, RegisteringTwiceThrowsTheRegistrationText) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WindowClassDef definition(PlainWindowProc, "QmTwiceRegistered", instance);
  EXPECT_EQ(48u, definition.cbSize);
  EXPECT_NE(0, definition.Register());
  try {
    definition.Register();
    ADD_FAILURE() << "a second registration must throw";
  } catch (const char* text) {
    EXPECT_STREQ("Internal error: RegisterClassEx failed.", text);
  }
  UnregisterClassA("QmTwiceRegistered", instance);
}

TEST(WindowRecordTest, CreationBuildsWindowsAndThrowsTheCreationText) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WindowClassDef definition(PlainWindowProc, "QmCreatedByRecord", instance);
  definition.Register();
  EXPECT_EQ(nullptr, definition.FindRunningWindow());

  WindowCreateDef topLevel = WindowCreateDef::TopLevel("Record window", "QmCreatedByRecord", instance);
  EXPECT_EQ(0x10CF0800u, topLevel.style);
  topLevel.style &= ~WS_VISIBLE;  // shown below without activation (see TestHostWindow)
  HWND window = topLevel.Create();
  ASSERT_NE(nullptr, window);
  EXPECT_EQ(window, topLevel.window);
  topLevel.Show(SW_SHOWNOACTIVATE);
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_EQ(window, definition.FindRunningWindow());

  WindowCreateDef child = WindowCreateDef::Child("QmCreatedByRecord", window, 77);
  child.style |= WS_VISIBLE;
  HWND childWindow = child.Create();
  EXPECT_EQ(childWindow, GetDlgItem(window, 77));
  EXPECT_EQ(static_cast<LONG_PTR>(WS_CHILD | WS_VISIBLE),
            GetWindowLongPtrA(childWindow, GWL_STYLE) & (WS_CHILD | WS_VISIBLE | WS_POPUP));

  WindowCreateDef unknown = WindowCreateDef::Child("QmNeverRegistered", window, 78);
  try {
    unknown.Create();
    ADD_FAILURE() << "creating a window of an unknown class must throw";
  } catch (const char* text) {
    EXPECT_STREQ("Internal error: Window Creation Failed.", text);
  }
  EXPECT_EQ(nullptr, unknown.window);

  DestroyWindow(window);
  EXPECT_EQ(nullptr, definition.FindRunningWindow());
  UnregisterClassA("QmCreatedByRecord", instance);
}

TEST(ImageListTest, AListIsDestroyedExactlyOnce) {
  HBITMAP strip = CreateBitmap(48, 16, 1, 32, nullptr);
  ASSERT_NE(nullptr, strip);
  {
    CImageList images;
    EXPECT_FALSE(images.Destroy()) << "nothing to destroy before Create";
    ASSERT_TRUE(images.Create(16, 16, ILC_COLOR32 | ILC_MASK, 3, 0));
    EXPECT_EQ(0, images.AddMasked(strip, RGB(255, 0, 255)));
    EXPECT_EQ(3, ImageList_GetImageCount(images.GetHandle()));
    EXPECT_TRUE(images.Destroy());
    EXPECT_EQ(nullptr, images.GetHandle());
    EXPECT_FALSE(images.Destroy()) << "a second destruction reaches no list";
    EXPECT_EQ(-1, images.AddMasked(strip, RGB(255, 0, 255)));
  }  // the destructor finds no list and leaves it alone
  {
    CImageList images;
    ASSERT_TRUE(images.Create(16, 16, ILC_COLOR32 | ILC_MASK, 3, 0));
    ASSERT_TRUE(images.Create(42, 42, ILC_COLOR32 | ILC_MASK, 8, 0)) << "re-creating replaces the list";
    EXPECT_NE(nullptr, images.GetHandle());
    int width = 0, height = 0;
    EXPECT_TRUE(ImageList_GetIconSize(images.GetHandle(), &width, &height));
    EXPECT_EQ(42, width);
  }
  DeleteObject(strip);
}

TEST(WindowProcGuardTest, ThrownTextsBecomeWarningBoxesAndTheProcedureAnswersMinusOne) {
  struct Box {
    void* owner;
    std::string text;
    std::string caption;
    unsigned style;
  };
  std::vector<Box> boxes;
  ScopedMessageBoxScript script([&](void* owner, const char* text, const char* caption, unsigned style) {
    boxes.push_back({owner, text, caption, style});
    return kIdOk;
  });
  HWND owner = reinterpret_cast<HWND>(0x1234);
  EXPECT_EQ(-1, RunGuarded(owner, "Initialization WndProcSplitter",
                           []() -> LRESULT { throw ToolkitErrors::kWindowCreationFailed; }));
  EXPECT_EQ(-1, RunGuarded(owner, "Initialization WndProcSplitter",
                           []() -> LRESULT { throw std::runtime_error("other"); }));
  EXPECT_EQ(42, RunGuarded(owner, "Initialization WndProcSplitter", []() -> LRESULT { return 42; }));
  ASSERT_EQ(2u, boxes.size());
  EXPECT_EQ(owner, boxes[0].owner);
  EXPECT_EQ("Internal error: Window Creation Failed.", boxes[0].text);
  EXPECT_EQ("Initialization WndProcSplitter", boxes[0].caption);
  EXPECT_EQ(static_cast<unsigned>(MB_ICONWARNING), boxes[0].style & MB_ICONMASK);
  EXPECT_EQ("Unknown Error", boxes[1].text);
  EXPECT_EQ(static_cast<unsigned>(MB_ICONWARNING), boxes[1].style & MB_ICONMASK);
}

TEST(DrawingScopeTest, ModeSetterRestoresTheMixModeAndAppFallsBackToTheModule) {
  HDC memory = CreateCompatibleDC(nullptr);
  SetROP2(memory, R2_COPYPEN);
  {
    ModeSetter mode(memory, R2_NOTXORPEN);
    EXPECT_EQ(R2_NOTXORPEN, GetROP2(memory));
  }
  EXPECT_EQ(R2_COPYPEN, GetROP2(memory));
  DeleteDC(memory);

  CWinApp app;
  EXPECT_EQ(GetModuleHandleA(nullptr), app.GetInstance());
  EXPECT_EQ(GetModuleHandleA(nullptr), app.GetResourceInstance());
  app.SetInstance(reinterpret_cast<HINSTANCE>(0x12340000));
  EXPECT_EQ(GetModuleHandleA(nullptr), app.GetResourceInstance()) << "the first fallback is kept";
}

}  // namespace

namespace {

int CALLBACK NoteFontFamily(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

bool FontFamilyInstalled(const char* family) {
  HDC screen = GetDC(nullptr);
  LOGFONTA wanted = {};
  wanted.lfCharSet = DEFAULT_CHARSET;
  lstrcpynA(wanted.lfFaceName, family, LF_FACESIZE);
  bool found = false;
  EnumFontFamiliesExA(screen, &wanted, NoteFontFamily, reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, screen);
  return found;
}

}  // namespace

// Without them Wine draws caption buttons as the letters "0 1 r" and cuts
// labels, and every screenshot lies.
TEST(WineFonts, TahomaAndMarlettAreThere) {
  EXPECT_TRUE(FontFamilyInstalled("Tahoma"));
  EXPECT_TRUE(FontFamilyInstalled("Marlett"));
}
