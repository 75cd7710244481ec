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

using namespace shelltest;

namespace {

// A copy of what the screen shows in a window's client area.
class ScreenPixels {
 public:
  explicit ScreenPixels(HWND window) {
    GetClientRect(window, &m_client);
    m_width = m_client.right;
    m_height = m_client.bottom;
    if (m_width <= 0 || m_height <= 0) return;
    m_pixels.resize(static_cast<std::size_t>(m_width) * m_height);
    // The window's own device context reads what its top-level window holds
    // on screen (under Wine the screen's device context holds the desktop
    // only).
    HDC screen = GetDC(window);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = m_width;
    info.bmiHeader.biHeight = -m_height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, m_width, m_height, screen, 0, 0, SRCCOPY);
    GdiFlush();
    std::memcpy(m_pixels.data(), bits, m_pixels.size() * 4);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, screen);
  }

  // Dark pixels (text) inside the rectangle.
  int InkIn(const RECT& area) const {
    int ink = 0;
    ForEach(area, [&](COLORREF pixel) {
      if (GetRValue(pixel) + GetGValue(pixel) + GetBValue(pixel) < 3 * 110) ++ink;
    });
    return ink;
  }

  // Pixels inside the rectangle that differ from colour.
  int OtherThan(const RECT& area, COLORREF colour) const {
    int other = 0;
    ForEach(area, [&](COLORREF pixel) {
      if (pixel != colour) ++other;
    });
    return other;
  }

 private:
  template <typename Visit>
  void ForEach(const RECT& area, Visit visit) const {
    for (int y = area.top < 0 ? 0 : area.top; y < area.bottom && y < m_height; ++y) {
      for (int x = area.left < 0 ? 0 : area.left; x < area.right && x < m_width; ++x) {
        const unsigned value = m_pixels[static_cast<std::size_t>(y) * m_width + x];
        // DIB pixels are blue, green, red: turn them into a COLORREF.
        visit(RGB((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF));
      }
    }
  }

  RECT m_client = {};
  int m_width = 0;
  int m_height = 0;
  std::vector<unsigned> m_pixels;
};

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
