// The record list as a user with many records works it: a click on a column
// header sorts (dates as dates, names case-insensitively), a second click
// reverses, a reload keeps the order; letters typed into the list jump to a
// title; the status bar counts the records on display.
#include "ShellTestSupport.h"

#include "Managers/KindManager.h"
#include "Managers/RecordManager.h"
#include "Records/LocalClock.h"
#include "Resources/MainWindowIds.h"
#include "Support/RecordTimes.h"
#include "Library/ListTypeAhead.h"

using namespace shelltest;

namespace {

// Longer than the pause after which typed letters begin a new prefix.
constexpr DWORD kTypeAheadPauseForTests = kTypeAheadPause + 150;

// A real click on the header of a column: the header tells the list, the
// list tells the main window.
void ClickHeader(HWND list, int column) {
  HWND header = ListView_GetHeader(list);
  RECT item = {};
  Header_GetItemRect(header, column, &item);
  const LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
  SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageA(header, WM_LBUTTONUP, 0, at);
  PumpMessages();
}

// Characters as the keyboard delivers them: posted, so they carry their time.
void Type(HWND list, const char* text) {
  SetFocus(list);
  for (const char* c = text; *c; ++c) PostMessageA(list, WM_CHAR, static_cast<unsigned char>(*c), 1);
  PumpMessages();
}

std::vector<std::string> Column(HWND list, int column) {
  std::vector<std::string> texts;
  for (int row = 0, count = ListView_GetItemCount(list); row < count; ++row)
    texts.push_back(ReadCell(list, row, column));
  return texts;
}

int HeaderSortFlags(HWND list, int column) {
  HDITEMA item = {};
  item.mask = HDI_FORMAT;
  Header_GetItem(ListView_GetHeader(list), column, &item);
  return item.fmt & (HDF_SORTUP | HDF_SORTDOWN);
}

std::string FocusedName(HWND list) {
  const int row = ListView_GetNextItem(list, -1, LVNI_FOCUSED);
  return row < 0 ? "" : ReadCell(list, row, 1);
}

}  // namespace

TEST_F(MainWindowTest, HeaderClicksSortByDateAndNameReversedOnTheSecondClickAndTheOrderSurvivesAReload) {
  RecordTime now = qmtest::MakeTime(2004, 1, 5, 10, 0, 0);
  ScopedLocalClock clock([&now] { return now; });
  // Saved in file order carol, alfred, Bob, Alice, bert; as texts the dates
  // would sort 08:.. < 09:.. < 10:.. < 11:.., as times the years decide.
  struct Added {
    const char* name;
    RecordTime saved;
  };
  const Added added[] = {{"carol", qmtest::MakeTime(2004, 1, 5, 10, 0, 0)},
                         {"alfred", qmtest::MakeTime(2003, 12, 1, 11, 0, 0)},
                         {"Bob", qmtest::MakeTime(2005, 2, 1, 8, 0, 0)},
                         {"Alice", qmtest::MakeTime(2003, 12, 1, 9, 30, 0)},
                         {"bert", qmtest::MakeTime(2004, 1, 5, 9, 0, 0)}};
  for (const Added& record : added) {
    now = record.saved;
    EmailValues values;
    values.name = record.name;
    values.email = std::string(record.name) + "@example.org";
    EmailResManager::AppendRecord(Main(), values);
  }
  HWND list = RecordList();
  EXPECT_EQ(ReadStatusText(StatusBar(), 2), "5 records");

  ClickHeader(list, 1);
  EXPECT_EQ(Column(list, 1), (std::vector<std::string>{"alfred", "Alice", "bert", "Bob", "carol"}));
  EXPECT_EQ(HeaderSortFlags(list, 1), HDF_SORTUP);
  ClickHeader(list, 1);
  EXPECT_EQ(Column(list, 1), (std::vector<std::string>{"carol", "Bob", "bert", "Alice", "alfred"}));
  EXPECT_EQ(HeaderSortFlags(list, 1), HDF_SORTDOWN);

  ClickHeader(list, 0);
  EXPECT_EQ(Column(list, 1), (std::vector<std::string>{"Alice", "alfred", "bert", "carol", "Bob"}));
  EXPECT_EQ(HeaderSortFlags(list, 0), HDF_SORTUP);
  EXPECT_EQ(HeaderSortFlags(list, 1), 0);

  // Another kind and back, as a notification or the manager list switches.
  Command(IDM_SHOW_TEXT_NOTES);
  EXPECT_EQ(ReadStatusText(StatusBar(), 2), "0 records");
  Command(IDM_SHOW_EMAIL_RESOURCES);
  EXPECT_EQ(Column(list, 1), (std::vector<std::string>{"Alice", "alfred", "bert", "carol", "Bob"}));
  EXPECT_EQ(HeaderSortFlags(list, 0), HDF_SORTUP);
  // Each row still stands for its own record: the address went with the row.
  FocusRow(4);
  EmailValues focused;
  ASSERT_EQ(EmailResManager::GetFocusedRecord(Main(), focused), 1);
  EXPECT_EQ(focused.email, "Bob@example.org");

  // Deleting keeps the count in step.
  ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
  ListView_SetItemState(list, 0, LVIS_SELECTED, LVIS_SELECTED);
  m_boxes.answer = kIdYes;  // to the delete question
  Command(IDM_DELETE_CURRENT);
  EXPECT_EQ(ReadStatusText(StatusBar(), 2), "4 records");
  // A record added to the sorted list takes its place in the order.
  now = qmtest::MakeTime(2004, 1, 1, 12, 0, 0);
  EmailValues one;
  one.name = "dora";
  one.email = "dora@example.org";
  EmailResManager::AppendRecord(Main(), one);
  EXPECT_EQ(ReadStatusText(StatusBar(), 2), "5 records");
  EXPECT_EQ(Column(list, 1), (std::vector<std::string>{"alfred", "dora", "bert", "carol", "Bob"}));
}

TEST_F(MainWindowTest, TypedLettersJumpToTheNextTitleThatStartsWithThem) {
  for (const char* name : {"Zoe", "bert", "Carol", "Bob", "carla", "Anna"}) {
    EmailValues values;
    values.name = name;
    values.email = "x@example.org";
    EmailResManager::AppendRecord(Main(), values);
  }
  HWND list = RecordList();
  FocusRow(0);
  // One letter: the next row whose title (not date) starts with it, any case.
  Type(list, "b");
  EXPECT_EQ(FocusedName(list), "bert");
  EXPECT_EQ(ListView_GetSelectedCount(list), 1u);
  // The same letter again steps on to the next one, and round.
  Type(list, "b");
  EXPECT_EQ(FocusedName(list), "Bob");
  Type(list, "b");
  EXPECT_EQ(FocusedName(list), "bert");
  // After a pause a new prefix starts; letters typed together add up.
  Sleep(kTypeAheadPauseForTests);
  Type(list, "carl");
  EXPECT_EQ(FocusedName(list), "carla");
  Sleep(kTypeAheadPauseForTests);
  // A new first letter moves on from the focused row; the letters after it
  // keep to a row they still match.
  Type(list, "CAR");
  EXPECT_EQ(FocusedName(list), "Carol");
  Sleep(kTypeAheadPauseForTests);
  Type(list, "x");
  EXPECT_EQ(FocusedName(list), "Carol") << "no title starts with x";

  // In a sorted list the jump follows the order on screen.
  ClickHeader(list, 1);
  ASSERT_EQ(Column(list, 1), (std::vector<std::string>{"Anna", "bert", "Bob", "carla", "Carol", "Zoe"}));
  FocusRow(0);
  Sleep(kTypeAheadPauseForTests);
  Type(list, "c");
  EXPECT_EQ(FocusedName(list), "carla");
  Type(list, "c");
  EXPECT_EQ(FocusedName(list), "Carol");
}
