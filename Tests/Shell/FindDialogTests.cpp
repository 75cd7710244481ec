// The Find window through the real main window: one at a time, hits of every
// kind and of note bodies as the user types, a new keystroke cancelling the
// search under way, and Enter or a double click opening the chosen record in
// its editor under the one-editor rule, the main window switched to its kind
// with its row focused. It never keeps the program from ending. It is sized
// like a results window and opens as it was left.
#include "ShellTestSupport.h"

#include <fstream>
#include <map>

#include "Managers/KindManager.h"
#include "Managers/RecordManager.h"
#include "Resources/EmailResourceEditorIds.h"
#include "Resources/FindDialogIds.h"
#include "Resources/InternetResourceEditorIds.h"
#include "Resources/MainWindowIds.h"
#include "Shell/BackgroundSearch.h"
#include "Shell/ExitRequest.h"
#include "Shell/FindDialog.h"
#include "Support/DataFolderWriter.h"
#include "Support/DialogDriver.h"

using namespace shelltest;
using qmtest::PumpUntil;

namespace {

struct Row {
  std::string title;
  std::string where;
  std::string excerpt;
  int image;
};

std::vector<Row> Rows(HWND find) {
  HWND list = GetDlgItem(find, IDC_FIND_RESULTS);
  std::vector<Row> rows;
  for (int row = 0, count = ListView_GetItemCount(list); row < count; ++row) {
    LVITEMA item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    ListView_GetItem(list, &item);
    rows.push_back({ReadCell(list, row, 0), ReadCell(list, row, 1), ReadCell(list, row, 2), item.iImage});
  }
  return rows;
}

std::string CountText(HWND find) {
  char text[200] = {};
  GetDlgItemTextA(find, IDC_FIND_COUNT, text, sizeof text);
  return text;
}

// Types into the search box (each change is an EN_CHANGE) and waits for the
// search that follows the pause to end.
bool Search(HWND find, const char* text) {
  SetDlgItemTextA(find, IDC_FIND_TEXT, text);
  return PumpUntil([find] { return CountText(find).back() == '.'; }, 10000);
}

void ChooseRow(HWND find, int row) {
  HWND list = GetDlgItem(find, IDC_FIND_RESULTS);
  ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

void DoubleClick(HWND find) {
  NMITEMACTIVATE notice = {};
  notice.hdr.hwndFrom = GetDlgItem(find, IDC_FIND_RESULTS);
  notice.hdr.idFrom = IDC_FIND_RESULTS;
  notice.hdr.code = NM_DBLCLK;
  SendMessageA(find, WM_NOTIFY, IDC_FIND_RESULTS, reinterpret_cast<LPARAM>(&notice));
}

std::string FocusedCell(HWND list, int column) {
  const int row = ListView_GetNextItem(list, -1, LVNI_FOCUSED);
  return row < 0 ? "" : ReadCell(list, row, column);
}

}  // namespace

TEST_F(MainWindowTest, FindShowsHitsOfEveryKindAndOpensTheChosenOneInItsEditor) {
  std::ofstream(gTextNoteFolder + "TextNote1.doc", std::ios::binary)
      << "{\\rtf1\\ansi{\\fonttbl{\\f0 Tahoma;}}\\pard The striped \\b zebra\\b0  runs\\par}";
  TextNoteManager::AppendRecord(Main(), {"Safari", "TextNote1.doc", 0});
  EmailValues ann;
  ann.name = "Ann";
  ann.email = "ann@example.org";
  ann.comment = "keeps a Zebra";
  EmailResManager::AppendRecord(Main(), ann);
  EmailValues bob;
  bob.name = "Bob";
  bob.email = "bob@example.org";
  EmailResManager::AppendRecord(Main(), bob);
  InternetResManager::AppendRecord(Main(), {"Stripes", "http://zebra.example.org", 0});
  Command(IDM_SHOW_TEXT_NOTES);

  // Ctrl+F, the menu and the toolbar all send the one command; one window.
  Command(IDM_FIND);
  HWND find = OpenFindDialog();
  ASSERT_NE(find, nullptr);
  Command(IDM_FIND);
  EXPECT_EQ(OpenFindDialog(), find);
  EXPECT_EQ(GetWindow(find, GW_OWNER), Main());

  ASSERT_TRUE(Search(find, "ZEBRA"));
  const std::vector<Row> rows = Rows(find);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].title, "Safari");
  EXPECT_EQ(rows[0].where, "Body");
  EXPECT_EQ(rows[0].excerpt, "The striped zebra runs");
  EXPECT_EQ(rows[0].image, static_cast<int>(RecordKind::TextNote));
  EXPECT_EQ(rows[1].title, "Ann");
  EXPECT_EQ(rows[1].where, "Comment");
  EXPECT_EQ(rows[1].image, static_cast<int>(RecordKind::EmailRes));
  EXPECT_EQ(rows[2].title, "Stripes");
  EXPECT_EQ(rows[2].where, "Address");
  EXPECT_EQ(rows[2].image, static_cast<int>(RecordKind::InternetRes));
  EXPECT_EQ(CountText(find), "3 records found.");
  EXPECT_GE(LastFindTimings().firstHits, 0.0);

  // Enter (the default button) opens Ann's record in the e-mail editor, the
  // main window showing the e-mail resources with her row focused; the Find
  // window stays, and a double click on another hit opens no second editor.
  ChooseRow(find, 1);
  bool checked = false;
  EXPECT_TRUE(qmtest::DriveDialog(
      "E-Mail Resource",
      [&] {
        SendMessageA(find, WM_COMMAND, IDOK, 0);
        qmtest::PumpMessages();
      },
      [&](HWND editor) {
        EXPECT_EQ(qmtest::TextOf(editor, IDC_EMAIL_NAME), "Ann");
        EXPECT_EQ(CurrentKind(), static_cast<int>(RecordKind::EmailRes));
        EXPECT_EQ(FocusedCell(RecordList(), 1), "Ann");
        EXPECT_TRUE(IsWindow(find));
        ChooseRow(find, 2);
        DoubleClick(find);
        qmtest::PumpMessages();
        EXPECT_EQ(qmtest::FindDialog("Internet Resource"), nullptr);
        checked = true;
        qmtest::Press(editor, IDC_EMAIL_CANCEL);
      }));
  EXPECT_TRUE(checked);

  // With the editor closed, the double click opens the internet resource.
  EXPECT_TRUE(qmtest::DriveDialog(
      "Internet Resource",
      [&] {
        DoubleClick(find);
        qmtest::PumpMessages();
      },
      [&](HWND editor) {
        EXPECT_EQ(CurrentKind(), static_cast<int>(RecordKind::InternetRes));
        EXPECT_EQ(FocusedCell(RecordList(), 1), "Stripes");
        SendMessageA(editor, WM_CLOSE, 0, 0);
      }));

  // A hit whose record was deleted since is told in a box owned by Find.
  Command(IDM_SHOW_EMAIL_RESOURCES);
  ListView_SetItemState(RecordList(), -1, 0, LVIS_SELECTED);
  ListView_SetItemState(RecordList(), 0, LVIS_SELECTED, LVIS_SELECTED);  // Ann
  m_boxes.answer = kIdYes;  // to the delete question
  Command(IDM_DELETE_CURRENT);
  ASSERT_EQ(m_boxes.shown.size(), 1u);
  EXPECT_EQ(m_boxes.shown[0].text, "Delete 1 e-mail address?");
  ChooseRow(find, 1);
  SendMessageA(find, WM_COMMAND, IDOK, 0);
  qmtest::PumpMessages();
  ASSERT_EQ(m_boxes.shown.size(), 2u);
  EXPECT_EQ(m_boxes.shown[1].owner, find);
  EXPECT_EQ(m_boxes.shown[1].caption, "Find");

  // Holding nothing unsaved, it does not keep the program from ending.
  gMainWindowHooks.exitConfirmed = [](HWND) {};
  EXPECT_EQ(SendMessageA(Main(), ExitRequestMessage(), 0, 0), kExitRequestAccepted);
  gMainWindowHooks.exitConfirmed = nullptr;
  SendMessageA(find, WM_COMMAND, IDCANCEL, 0);
  EXPECT_FALSE(IsWindow(find));
  EXPECT_EQ(OpenFindDialog(), nullptr);
}

TEST_F(MainWindowTest, ANewKeystrokeCancelsTheSearchUnderWayAndOnlyTheNewOneShows) {
  // Enough records that a search is still under way when the next key comes.
  {
    qmtest::DataFolderWriter writer(gDataFolder);
    for (int i = 0; i < 1500; ++i)
      writer.Add(RecordKind::InternetRes, {{"title", (i % 2 ? "zebra " : "quagga ") + std::to_string(i)}});
  }
  Command(IDM_FIND);
  HWND find = OpenFindDialog();
  ASSERT_NE(find, nullptr);
  const int cancelledBefore = BackgroundSearch::CancelledRuns();
  SetDlgItemTextA(find, IDC_FIND_TEXT, "zebra");
  // The pause ends (the timer), the search starts; the next key at once.
  SendMessageA(find, WM_TIMER, 1, 0);
  SetDlgItemTextA(find, IDC_FIND_TEXT, "quagga");
  ASSERT_TRUE(PumpUntil([find] { return CountText(find).back() == '.'; }, 20000));
  EXPECT_TRUE(PumpUntil([&] { return BackgroundSearch::CancelledRuns() > cancelledBefore; }, 5000));
  const std::vector<Row> rows = Rows(find);
  ASSERT_EQ(rows.size(), 750u);
  for (const Row& row : rows) ASSERT_EQ(row.title.rfind("quagga ", 0), 0u) << row.title;
  EXPECT_EQ(CountText(find), "750 records found.");
  std::printf("Find over 1,500 records under Wine: first hits after %.1f ms, all after %.1f ms\n",
              LastFindTimings().firstHits, LastFindTimings().done);
  SendMessageA(find, WM_CLOSE, 0, 0);
}

namespace {

RECT ClientRectOf(HWND find, int id) {
  RECT rect = {};
  HWND control = GetDlgItem(find, id);
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, find, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

int Width(const RECT& rect) {
  return rect.right - rect.left;
}

int Height(const RECT& rect) {
  return rect.bottom - rect.top;
}

const int kLaidOut[] = {IDC_FIND_LABEL, IDC_FIND_TEXT, IDC_FIND_RESULTS, IDC_FIND_COUNT, IDOK, IDCANCEL, IDC_FIND_GRIP};

// Every control inside the client area, none over another, the grip in the corner.
void ExpectTidy(HWND find) {
  RECT client = {};
  GetClientRect(find, &client);
  for (int a : kLaidOut) {
    const RECT first = ClientRectOf(find, a);
    EXPECT_TRUE(first.left >= 0 && first.top >= 0 && first.right <= client.right && first.bottom <= client.bottom)
        << a;
    for (int b : kLaidOut) {
      if (a == b) continue;
      RECT both = {};
      const RECT second = ClientRectOf(find, b);
      EXPECT_FALSE(IntersectRect(&both, &first, &second)) << a << " over " << b;
    }
  }
  const RECT grip = ClientRectOf(find, IDC_FIND_GRIP);
  EXPECT_EQ(grip.right, client.right);
  EXPECT_EQ(grip.bottom, client.bottom);
}

int ColumnsWidth(HWND find) {
  HWND list = GetDlgItem(find, IDC_FIND_RESULTS);
  return ListView_GetColumnWidth(list, 0) + ListView_GetColumnWidth(list, 1) + ListView_GetColumnWidth(list, 2);
}

}  // namespace

TEST_F(MainWindowTest, TheFindWindowSizesLikeAResultsWindowAndOpensAsItWasLeft) {
  RegDeleteKeyA(HKEY_CURRENT_USER, kFindWindowKey);
  InternetResManager::AppendRecord(Main(), {"Zebra stripes", "http://zebra.example.org", 0});
  Command(IDM_FIND);
  HWND find = OpenFindDialog();
  ASSERT_NE(find, nullptr);
  ASSERT_TRUE(Search(find, "zebra"));
  EXPECT_NE(GetWindowLongA(find, GWL_STYLE) & WS_THICKFRAME, 0);
  RECT small = {};
  GetWindowRect(find, &small);
  ExpectTidy(find);
  std::map<int, RECT> before;
  for (int id : kLaidOut) before[id] = ClientRectOf(find, id);
  HWND list = GetDlgItem(find, IDC_FIND_RESULTS);
  const int titleBefore = ListView_GetColumnWidth(list, 0), excerptBefore = ListView_GetColumnWidth(list, 2);
  const int columnsBefore = ColumnsWidth(find);

  // Not smaller than the size everything was laid out for.
  SetWindowPos(find, nullptr, 0, 0, Width(small) - 120, Height(small) - 80, SWP_NOMOVE | SWP_NOZORDER);
  RECT now = {};
  GetWindowRect(find, &now);
  EXPECT_EQ(Width(now), Width(small));
  EXPECT_EQ(Height(now), Height(small));

  // Larger: the list, its columns and the search box grow, the buttons and
  // the grip keep to the corner, the count to the bottom edge.
  const int dx = 240, dy = 160;
  SetWindowPos(find, nullptr, 40, 30, Width(small) + dx, Height(small) + dy, SWP_NOZORDER);
  qmtest::PumpMessages();
  ExpectTidy(find);
  const RECT results = ClientRectOf(find, IDC_FIND_RESULTS);
  EXPECT_EQ(Width(results), Width(before[IDC_FIND_RESULTS]) + dx);
  EXPECT_EQ(Height(results), Height(before[IDC_FIND_RESULTS]) + dy);
  const RECT box = ClientRectOf(find, IDC_FIND_TEXT);
  EXPECT_EQ(Width(box), Width(before[IDC_FIND_TEXT]) + dx);
  EXPECT_EQ(Height(box), Height(before[IDC_FIND_TEXT]));
  for (int id : {IDOK, IDCANCEL, IDC_FIND_GRIP}) {
    const RECT moved = ClientRectOf(find, id);
    EXPECT_EQ(moved.left, before[id].left + dx) << id;
    EXPECT_EQ(moved.top, before[id].top + dy) << id;
    EXPECT_EQ(Width(moved), Width(before[id])) << id;
  }
  EXPECT_EQ(ClientRectOf(find, IDC_FIND_COUNT).top, before[IDC_FIND_COUNT].top + dy);
  EXPECT_EQ(ClientRectOf(find, IDC_FIND_LABEL).top, before[IDC_FIND_LABEL].top);
  EXPECT_GT(ListView_GetColumnWidth(list, 0), titleBefore);
  EXPECT_GT(ListView_GetColumnWidth(list, 2), excerptBefore);
  EXPECT_EQ(ColumnsWidth(find), columnsBefore + dx);
  // Maximized, it has no grip to size it by.
  ShowWindow(find, SW_MAXIMIZE);
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(find, IDC_FIND_GRIP)));
  ShowWindow(find, SW_RESTORE);
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(find, IDC_FIND_GRIP)));
  RECT large = {};
  GetWindowRect(find, &large);
  EXPECT_EQ(Width(large), Width(small) + dx);

  // Closed and opened again, it has the size and place it was left with.
  SendMessageA(find, WM_CLOSE, 0, 0);
  ASSERT_EQ(OpenFindDialog(), nullptr);
  Command(IDM_FIND);
  find = OpenFindDialog();
  ASSERT_NE(find, nullptr);
  GetWindowRect(find, &now);
  EXPECT_TRUE(EqualRect(&now, &large)) << now.left << "," << now.top << " " << Width(now) << "x" << Height(now);
  ExpectTidy(find);
  EXPECT_EQ(Width(ClientRectOf(find, IDC_FIND_RESULTS)), Width(before[IDC_FIND_RESULTS]) + dx);
  SendMessageA(find, WM_CLOSE, 0, 0);
  RegDeleteKeyA(HKEY_CURRENT_USER, kFindWindowKey);
}
