// The main window as a user works it: boxes modal to the window in use, no
// second action on a store while one waits in a box, one About dialog, the
// record list's Enter and Delete keys, and the manager list that shows and
// follows the kind on display.
#include "ShellTestSupport.h"

#include "Managers/KindDescription.h"
#include "Managers/KindManager.h"
#include "Managers/RecordManager.h"
#include "Resources/InternetResourceEditorIds.h"
#include "Resources/MainWindowIds.h"
#include "Shell/MessageLoop.h"
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

// Enter in the record list: the title the internet resource editor opened
// with ("" when no editor opened), the editor cancelled.
std::string TitleOpenedByEnter(HWND recordList) {
  std::string title;
  qmtest::DriveDialog("Internet Resource", [recordList] { PressKey(recordList, VK_RETURN); },
                      [&](HWND dialog) {
                        title = qmtest::TextOf(dialog, IDC_INTERNET_TITLE);
                        qmtest::Press(dialog, IDC_INTERNET_CANCEL);
                      });
  return title;
}

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
  EXPECT_EQ(m_boxes.shown[0].text, "Delete 1 bookmark?");
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
  EXPECT_EQ(TitleOpenedByEnter(RecordList()), "three");
}

TEST_F(MainWindowTest, EveryDeleteRouteAsksOneQuestionNamingCountAndFilesWithNoAsDefault) {
  ShowWindow(Main(), SW_SHOWNOACTIVATE);
  for (const char* title : {"one", "two", "three"}) {
    TextNoteManager::AppendRecord(Main(), {title, std::string(title) + ".doc", 0});
  }
  Command(IDM_SHOW_TEXT_NOTES);
  ListView_SetItemState(RecordList(), 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  ListView_SetItemState(RecordList(), 2, LVIS_SELECTED, LVIS_SELECTED);
  m_boxes.answer = qmtest::RecordedMessageBoxes::kDefaultButton;  // Enter
  // While a question is open the selection it is about stays visible.
  int selectedWhileAsked = -1;
  m_boxes.whileOpen = [&](std::size_t, const ShownBox&) {
    selectedWhileAsked = static_cast<int>(ListView_GetSelectedCount(RecordList()));
  };
  EXPECT_NE(GetWindowLongA(RecordList(), GWL_STYLE) & LVS_SHOWSELALWAYS, 0);

  // The toolbar button, Edit > Delete, the context menu's item and the key.
  SendMessageA(Main(), WM_COMMAND, MAKEWPARAM(IDM_DELETE_TEXT_NOTES, BN_CLICKED),
               reinterpret_cast<LPARAM>(EditToolbar()));
  Command(IDM_DELETE_CURRENT);
  Command(IDM_DELETE_TEXT_NOTES);
  PressKey(RecordList(), VK_DELETE);
  ASSERT_EQ(m_boxes.shown.size(), 4u);
  for (const ShownBox& box : m_boxes.shown) {
    EXPECT_EQ(box.text, "Delete 2 text notes and their files?");
    EXPECT_EQ(box.caption, "Quillmate");
    EXPECT_EQ(box.style, kMbYesNo | kMbIconQuestion | kMbDefaultButton2);
    EXPECT_EQ(box.owner, Main());
  }
  EXPECT_EQ(selectedWhileAsked, 2);
  EXPECT_EQ(ListView_GetItemCount(RecordList()), 3) << "Enter answered No";

  // Delete All keeps its own question, with No as the default too.
  Command(IDM_DELETE_ALL_CURRENT);
  ASSERT_EQ(m_boxes.shown.size(), 5u);
  EXPECT_EQ(m_boxes.shown[4].text, "Would you like to delete All Text Notes from Your Diary?");
  EXPECT_EQ(m_boxes.shown[4].style, kMbYesNo | kMbIconQuestion | kMbDefaultButton2);
  EXPECT_EQ(ListView_GetItemCount(RecordList()), 3);

  m_boxes.answer = kIdYes;
  PressKey(RecordList(), VK_DELETE);
  ASSERT_EQ(ListView_GetItemCount(RecordList()), 1);
  EXPECT_EQ(ReadCell(RecordList(), 0, 1), "two");

  // Each kind names what goes: files where it has them, the album's copies
  // for photos, nothing more for the kinds without attachments.
  const char* const questions[8][2] = {
      {"Delete 1 text note and its file?", "Delete 3 text notes and their files?"},
      {"Delete 1 audio note and its file?", "Delete 3 audio notes and their files?"},
      {"Delete 1 video note and its file?", "Delete 3 video notes and their files?"},
      {"Delete 1 photo and the album's copy?", "Delete 3 photos and the album's copies?"},
      {"Delete 1 time notification?", "Delete 3 time notifications?"},
      {"Delete 1 e-mail address?", "Delete 3 e-mail addresses?"},
      {"Delete 1 bookmark?", "Delete 3 bookmarks?"},
      {"Delete 1 fast text and its file?", "Delete 3 fast texts and their files?"},
  };
  for (int kind = 0; kind < 8; ++kind) {
    EXPECT_EQ(DeleteSelectedQuestion(static_cast<RecordKind>(kind), 1), questions[kind][0]);
    EXPECT_EQ(DeleteSelectedQuestion(static_cast<RecordKind>(kind), 3), questions[kind][1]);
  }
}

// The frame takes no keys: activated, the window puts the focus in the
// record list, and coming back to it finds the list that was left.
TEST_F(MainWindowTest, TheKeyboardIsInAListWheneverTheWindowIsActivated) {
  ShowWindow(Main(), SW_SHOWNORMAL);
  SetForegroundWindow(Main());
  SetActiveWindow(Main());
  PumpMessages();
  ASSERT_EQ(GetActiveWindow(), Main());
  EXPECT_EQ(GetFocus(), RecordList()) << "the focus stayed on the frame, where no key works";
  // Into the manager list, away to another window and back.
  MSG tab = {GetFocus(), WM_KEYDOWN, VK_TAB, 0x000F0001, 0, {0, 0}};
  EXPECT_TRUE(TranslateMainWindowKeys(Main(), nullptr, &tab));
  ASSERT_EQ(GetFocus(), ManagerList());
  HWND other = CreateWindowExA(0, "STATIC", "Another window", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
  SetActiveWindow(other);
  PumpMessages();
  ASSERT_EQ(GetActiveWindow(), other);
  SetActiveWindow(Main());
  PumpMessages();
  EXPECT_EQ(GetFocus(), ManagerList()) << "coming back lost the list the keyboard was in";
  // Arrows work at once: Down moves the manager selection.
  const int before = SelectedManager(ManagerList());
  SendMessageA(ManagerList(), WM_KEYDOWN, VK_DOWN, 1);
  PumpMessages();
  EXPECT_NE(SelectedManager(ManagerList()), before);
  DestroyWindow(other);
}

TEST_F(MainWindowTest, TabIntoTheRecordListFocusesARowSoEnterWorksAtOnce) {
  ShowWindow(Main(), SW_SHOWNOACTIVATE);
  for (const char* title : {"one", "two", "three"}) {
    InternetResManager::AppendRecord(Main(), {title, "https://example.org", 0});
  }
  ListView_SetItemState(RecordList(), -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  SetFocus(ManagerList());
  auto tab = [this] {
    MSG key = {GetFocus(), WM_KEYDOWN, VK_TAB, 0x000F0001, 0, {0, 0}};
    EXPECT_TRUE(TranslateMainWindowKeys(Main(), nullptr, &key));
    PumpMessages();
  };
  // No row had the focus: the first one takes it, selected.
  tab();
  ASSERT_EQ(GetFocus(), RecordList());
  EXPECT_EQ(ListView_GetNextItem(RecordList(), -1, LVNI_FOCUSED), 0);
  EXPECT_EQ(ListView_GetNextItem(RecordList(), -1, LVNI_SELECTED), 0);
  // The row focused before keeps it when the list is left and entered again.
  FocusRow(2);
  tab();
  EXPECT_EQ(GetFocus(), ManagerList());
  tab();
  EXPECT_EQ(ListView_GetNextItem(RecordList(), -1, LVNI_FOCUSED), 2);
  // Enter acts on it at once.
  EXPECT_EQ(TitleOpenedByEnter(RecordList()), "three");
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
