// The main window as a user works it: boxes modal to the window in use, no
// second action on a store while one waits in a box, one About dialog, the
// record list's Enter and Delete keys, and the manager list that shows and
// follows the kind on display.
#include "ShellTestSupport.h"

#include "Managers/KindManager.h"
#include "Managers/RecordManager.h"
#include "Resources/InternetResourceEditorIds.h"
#include "Resources/MainWindowIds.h"
#include "Support/DialogDriver.h"

using namespace shelltest;

namespace {

int SelectedManager(HWND managers) {
  return ListView_GetNextItem(managers, -1, LVNI_SELECTED);
}

void PressKey(HWND window, WPARAM key) {
  SetFocus(window);
  SendMessageA(window, WM_KEYDOWN, key, 1);
  SendMessageA(window, WM_KEYUP, key, 0xC0000001);
  PumpMessages();
}

BOOL CALLBACK CountAbout(HWND window, LPARAM count) {
  char caption[64] = {};
  GetWindowTextA(window, caption, sizeof caption);
  if (IsWindowVisible(window) && std::string(caption) == "About Quillmate") ++*reinterpret_cast<int*>(count);
  return TRUE;
}

}  // namespace

TEST_F(MainWindowTest, BoxesAreModalToTheMainWindowAndNoCommandTouchesAStoreWhileOneWaitsInABox) {
  ShowWindow(Main(), SW_SHOWNOACTIVATE);
  InternetResManager::AppendRecord(Main(), {"News", "http://news.example.org", 3});
  TextNoteManager::AppendRecord(Main(), {"Kept", "TextNote1.doc", 1});
  Command(IDM_SHOW_INTERNET_RESOURCES);
  // While the delete-all question is up the tray menu still reaches the
  // window: another kind, another delete-all, Exit.
  m_boxes.answer = kIdYes;
  m_boxes.whileOpen = [this](std::size_t number, const ShownBox&) {
    if (number != 0) return;
    Command(IDM_SHOW_TEXT_NOTES);
    Command(IDM_DELETE_ALL_TEXT_NOTES);
    Command(IDM_DELETE_ALL_CURRENT);
    Command(IDM_EXIT);
    // A click on another manager shows nothing, and its highlight goes back.
    ListView_SetItemState(ManagerList(), 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  };
  Command(IDM_DELETE_ALL_CURRENT);
  ASSERT_EQ(m_boxes.shown.size(), 1u) << "a second box was stacked";
  EXPECT_EQ(m_boxes.shown[0].owner, Main());
  EXPECT_EQ(CurrentKind(), static_cast<int>(RecordKind::InternetRes));
  EXPECT_EQ(SelectedManager(ManagerList()), CurrentKind());
  EXPECT_EQ(ListView_GetItemCount(RecordList()), 0);
  EXPECT_TRUE(IsWindow(Main()));

  // Afterwards commands are carried out again, and the text note survived.
  m_boxes.whileOpen = nullptr;
  Command(IDM_SHOW_TEXT_NOTES);
  ASSERT_EQ(ListView_GetItemCount(RecordList()), 1);
  EXPECT_EQ(ReadCell(RecordList(), 0, 1), "Kept");
}

TEST_F(MainWindowTest, AboutOpensOnceAndIsBroughtForwardAfterwards) {
  Command(IDM_ABOUT);
  Command(IDM_ABOUT);
  Command(IDM_ABOUT);
  int open = 0;
  EnumThreadWindows(GetCurrentThreadId(), CountAbout, reinterpret_cast<LPARAM>(&open));
  EXPECT_EQ(open, 1);
  HWND dialog = FindWindowA("#32770", "About Quillmate");
  ASSERT_NE(dialog, nullptr);
  SendMessageA(dialog, WM_COMMAND, IDOK, 0);
  EXPECT_FALSE(IsWindow(dialog));
  // Closed, it opens anew.
  Command(IDM_ABOUT);
  dialog = FindWindowA("#32770", "About Quillmate");
  ASSERT_NE(dialog, nullptr);
  SendMessageA(dialog, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(dialog));
}

TEST_F(MainWindowTest, DeleteKeyAsksWithNoAsDefaultAndEnterOpensTheFocusedRecord) {
  ShowWindow(Main(), SW_SHOWNOACTIVATE);
  for (const char* title : {"one", "two", "three"}) {
    InternetResManager::AppendRecord(Main(), {title, "http://example.org", 0});
  }
  FocusRow(1);
  m_boxes.answer = kIdNo;
  PressKey(RecordList(), VK_DELETE);
  ASSERT_EQ(m_boxes.shown.size(), 1u);
  EXPECT_EQ(m_boxes.shown[0].text, "Delete the selected records and their files?");
  EXPECT_EQ(m_boxes.shown[0].caption, "Quillmate");
  EXPECT_EQ(m_boxes.shown[0].style, kMbYesNo | kMbIconQuestion | kMbDefaultButton2);
  EXPECT_EQ(DefaultMessageBoxAnswer(m_boxes.shown[0].style), kIdNo);
  EXPECT_EQ(m_boxes.shown[0].owner, Main());
  EXPECT_EQ(ListView_GetItemCount(RecordList()), 3);
  m_boxes.answer = kIdYes;
  PressKey(RecordList(), VK_DELETE);
  ASSERT_EQ(ListView_GetItemCount(RecordList()), 2);
  EXPECT_EQ(ReadCell(RecordList(), 0, 1), "one");
  EXPECT_EQ(ReadCell(RecordList(), 1, 1), "three");
  // Nothing selected: no question.
  ListView_SetItemState(RecordList(), -1, 0, LVIS_SELECTED);
  PressKey(RecordList(), VK_DELETE);
  EXPECT_EQ(m_boxes.shown.size(), 2u);

  // Enter opens the focused record as a double click does.
  FocusRow(1);
  std::string title;
  ASSERT_TRUE(qmtest::DriveDialog("Internet Resource", [this] { PressKey(RecordList(), VK_RETURN); },
                                  [&](HWND dialog) {
                                    title = qmtest::TextOf(dialog, IDC_INTERNET_TITLE);
                                    qmtest::Press(dialog, IDC_INTERNET_CANCEL);
                                  }));
  EXPECT_EQ(title, "three");
}

TEST_F(MainWindowTest, TheManagerListShowsWhatIsSelectedAndFollowsTheKindOnDisplay) {
  const LONG style = GetWindowLongA(ManagerList(), GWL_STYLE);
  EXPECT_NE(style & LVS_SHOWSELALWAYS, 0) << "the highlight must stay when the focus leaves";
  EXPECT_EQ(SelectedManager(ManagerList()), 0) << "text notes at start";

  // Chosen from a menu or the toolbar: the highlight follows.
  Command(IDM_SHOW_FAST_TEXTS);
  EXPECT_EQ(SelectedManager(ManagerList()), 7);
  EXPECT_EQ(ListView_GetSelectedCount(ManagerList()), 1u);
  // An editor's add shows its kind: the highlight follows too.
  TextNoteManager::AppendRecord(Main(), {"Note", "TextNote1.doc", 0});
  EXPECT_EQ(SelectedManager(ManagerList()), 0);

  // Selected with a click: shown at once, without a double click.
  ListView_SetItemState(ManagerList(), 3, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  EXPECT_EQ(CurrentKind(), 3);
  EXPECT_EQ(ListView_GetSelectedCount(ManagerList()), 1u);

  // An arrow key moves the selection, and the kind with it.
  PressKey(ManagerList(), VK_DOWN);
  const int moved = SelectedManager(ManagerList());
  EXPECT_NE(moved, 3);
  EXPECT_EQ(CurrentKind(), moved);

  // Enter shows the focused manager.
  ListView_SetItemState(ManagerList(), -1, 0, LVIS_SELECTED);
  ListView_SetItemState(ManagerList(), 5, LVIS_FOCUSED, LVIS_FOCUSED);
  PressKey(ManagerList(), VK_RETURN);
  EXPECT_EQ(CurrentKind(), 5);
  EXPECT_EQ(SelectedManager(ManagerList()), 5);
}
