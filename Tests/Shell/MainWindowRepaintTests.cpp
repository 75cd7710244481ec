// What the main window shows on screen after a maximize, a resize and a
// splitter drag, read back as pixels: every row of the record list keeps its
// text, the header and the status bar keep theirs, and the list's empty part
// holds no leftovers (no ghost scroll bar, no strip of an old frame).
#include "ShellTestSupport.h"

#include <cstring>
#include <string>
#include <vector>

#include "Library/CSplitter.h"
#include "Resources/MainWindowIds.h"
#include "Support/MessagePump.h"
#include "Support/ScreenPixels.h"

using namespace shelltest;
using qmtest::ScreenPixels;

namespace {

RECT ItemTextRect(HWND list, int row, int column) {
  RECT rect = {};
  rect.top = column;
  rect.left = LVIR_LABEL;
  SendMessageA(list, LVM_GETSUBITEMRECT, row, reinterpret_cast<LPARAM>(&rect));
  return rect;
}

}  // namespace

class MainWindowRepaintTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    for (int row = 0; row < kRows; ++row) {
      LVITEMA item = {};
      item.mask = LVIF_TEXT;
      item.iItem = row;
      std::string date = "10:00:0" + std::to_string(row % 10) + " 11/28/2003";
      item.pszText = &date[0];
      SendMessageA(RecordList(), LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
      std::string title = "Title of note " + std::to_string(row);
      item.iSubItem = 1;
      item.pszText = &title[0];
      SendMessageA(RecordList(), LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    }
    SetWindowPos(Main(), HWND_TOP, 20, 20, 640, 420, SWP_SHOWWINDOW);
    SetForegroundWindow(Main());
    UpdateWindow(Main());
    PumpMessages();
  }

  // What is wrong with the record list, the header and the status bar on
  // screen; empty when all is well.
  std::string ScreenFaults() const {
    std::string faults;
    ScreenPixels list(RecordList());
    RECT client = {};
    GetClientRect(RecordList(), &client);
    const int visible = static_cast<int>(SendMessageA(RecordList(), LVM_GETCOUNTPERPAGE, 0, 0));
    for (int row = 0; row < kRows && row < visible; ++row) {
      for (int column = 0; column < 2; ++column) {
        if (list.InkIn(ItemTextRect(RecordList(), row, column)) == 0)
          faults += " row " + std::to_string(row) + " column " + std::to_string(column) + " blank;";
      }
    }
    // Right of the last column, below the header and the rows: nothing but
    // the list's background.
    HWND header = reinterpret_cast<HWND>(SendMessageA(RecordList(), LVM_GETHEADER, 0, 0));
    RECT headerRect = {};
    GetClientRect(header, &headerRect);
    RECT lastColumn = ItemTextRect(RecordList(), 0, 2);
    RECT empty = {lastColumn.right + 8, headerRect.bottom + 2, client.right, client.bottom};
    const COLORREF background = static_cast<COLORREF>(SendMessageA(RecordList(), LVM_GETBKCOLOR, 0, 0));
    if (empty.right > empty.left && list.OtherThan(empty, background) != 0)
      faults += " leftovers right of the columns;";
    if (ScreenPixels(header).InkIn(headerRect) == 0) faults += " header texts gone;";
    RECT readyPart = {};
    SendMessageA(StatusBar(), SB_GETRECT, 0, reinterpret_cast<LPARAM>(&readyPart));
    if (ScreenPixels(StatusBar()).InkIn(readyPart) == 0) faults += " status bar text gone;";
    return faults;
  }

  // The screen settles after the last paint has reached the display; a
  // fault stays, so waiting for a clean screen is bounded and fails then.
  std::string FaultsAfterSettling() const {
    std::string faults;
    qmtest::PumpUntil([&] {
      faults = ScreenFaults();
      return faults.empty();
    }, 3000);
    return faults;
  }

  static constexpr int kRows = 12;
};

TEST_F(MainWindowRepaintTest, ListHeaderAndStatusBarArePaintedAfterMaximizeResizeAndSplitterDrag) {
  ASSERT_EQ("", FaultsAfterSettling()) << "before any change";

  ShowWindow(Main(), SW_MAXIMIZE);
  EXPECT_EQ("", FaultsAfterSettling()) << "after maximize";

  ShowWindow(Main(), SW_RESTORE);
  EXPECT_EQ("", FaultsAfterSettling()) << "after restore";

  SetWindowPos(Main(), nullptr, 0, 0, 900, 640, SWP_NOZORDER | SWP_NOMOVE);
  EXPECT_EQ("", FaultsAfterSettling()) << "after a resize";

  // The splitter bar dragged to the right and back.
  SendMessageA(Main(), CSplitter::kSplitterMovedMessage, 400, 0);
  EXPECT_EQ("", FaultsAfterSettling()) << "after a splitter drag to the right";
  SendMessageA(Main(), CSplitter::kSplitterMovedMessage, 120, 0);
  EXPECT_EQ("", FaultsAfterSettling()) << "after a splitter drag to the left";
}
