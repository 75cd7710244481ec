// The splitter under Wine: a real bar window between two list views, driven
// with the mouse messages a user's drag produces, and the drag line checked
// on the parent's pixels.
#include "Library/CListView.h"
#include "Library/CSplitController.h"
#include "Library/CSplitter.h"
#include "Support/MessagePump.h"
#include "Support/TestHostWindow.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using qmtest::TestHostWindow;

const int kTop = 30;
const int kWidth = 600;
const int kHeight = 340;
const int kProbeY = kTop + 60;

RECT RectInParent(HWND child) {
  RECT rect = {};
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

LPARAM MouseAt(int x, int y) {
  return MAKELPARAM(static_cast<WORD>(static_cast<short>(x)), static_cast<WORD>(static_cast<short>(y)));
}

class SplitterTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { CSplitter::RegisterBarClass(GetModuleHandleA(nullptr)); }

  void SetUp() override {
    m_left.Create(m_host.Handle(), 1005, WS_EX_CLIENTEDGE, WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 10, 10);
    m_right.Create(m_host.Handle(), 1004, WS_EX_CLIENTEDGE, WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 10, 10);
    m_splitter = new CSplitter(m_host.Handle());
    m_host.SetHandler([this](HWND, UINT message, WPARAM wParam, LPARAM, LRESULT*) {
      if (message != CSplitter::kSplitterMovedMessage) return false;
      m_movedTo.push_back(static_cast<int>(wParam));
      m_splitter->MoveSplit(static_cast<int>(wParam));
      return true;
    });
    m_splitter->SetPanes(m_left.GetWindow(), m_right.GetWindow());
    m_splitter->SetTop(kTop);
    m_splitter->Resize(kWidth, kHeight);
    qmtest::PumpMessages();
  }

  void TearDown() override {
    m_host.SetHandler(nullptr);
    delete m_splitter;
  }

  HWND Bar() const { return m_splitter->GetBar(); }

  // A drag that grabs the bar at x = 1 and lets go where the drag line is
  // at lineX in the parent.
  void DragBarTo(int lineX) {
    const int grabX = 1;
    int barX = RectInParent(Bar()).left;
    int releaseX = lineX - barX - CSplitter::kBarWidth / 2 + grabX;
    SendMessageA(Bar(), WM_LBUTTONDOWN, MK_LBUTTON, MouseAt(grabX, 10));
    SendMessageA(Bar(), WM_MOUSEMOVE, MK_LBUTTON, MouseAt((grabX + releaseX) / 2, 10));
    SendMessageA(Bar(), WM_MOUSEMOVE, MK_LBUTTON, MouseAt(releaseX, 10));
    SendMessageA(Bar(), WM_LBUTTONUP, 0, MouseAt(releaseX, 10));
    qmtest::PumpMessages();
  }

  void ExpectLayout(int leftWidth, int width) {
    RECT left = RectInParent(m_left.GetWindow());
    RECT bar = RectInParent(Bar());
    RECT right = RectInParent(m_right.GetWindow());
    EXPECT_EQ(0, left.left);
    EXPECT_EQ(kTop, left.top);
    EXPECT_EQ(leftWidth, left.right - left.left);
    EXPECT_EQ(kHeight, left.bottom - left.top);
    EXPECT_EQ(leftWidth, bar.left);
    EXPECT_EQ(CSplitter::kBarWidth, bar.right - bar.left);
    EXPECT_EQ(kTop, bar.top);
    EXPECT_EQ(kHeight, bar.bottom - bar.top);
    EXPECT_EQ(leftWidth + CSplitter::kBarWidth, right.left);
    EXPECT_EQ(width, right.right);
  }

  // One row of the parent's pixels, read through a device context of the
  // parent as the drag line is drawn.
  std::vector<COLORREF> ProbeRow() const {
    std::vector<COLORREF> row(kWidth);
    HDC dc = GetDC(m_host.Handle());
    for (int x = 0; x < kWidth; ++x) row[x] = GetPixel(dc, x, kProbeY);
    ReleaseDC(m_host.Handle(), dc);
    return row;
  }

  TestHostWindow m_host{kWidth, kTop + kHeight + 20};
  CListView m_left;
  CListView m_right;
  CSplitter* m_splitter = nullptr;
  std::vector<int> m_movedTo;
};

TEST_F(SplitterTest, AFreshSplitGivesTheLeftPaneTwentyPercentAndTheBarFourPixels) {
  EXPECT_EQ(20, m_splitter->GetPercentage());
  ExpectLayout(120, kWidth);
  EXPECT_EQ(GetDlgItem(m_host.Handle(), CSplitter::kBarId), Bar());
  char className[32] = {};
  GetClassNameA(Bar(), className, sizeof className);
  EXPECT_STREQ("CSplitterClass", className);
  EXPECT_TRUE(IsWindowVisible(Bar()));
}

TEST_F(SplitterTest, ReleasingAtTheEdgesKeepsTheSplitBetweenTenAndNinetyPercent) {
  DragBarTo(0);
  ASSERT_EQ(1u, m_movedTo.size());
  EXPECT_EQ(0, m_movedTo[0]) << "the parent hears the line x of the release";
  EXPECT_EQ(10, m_splitter->GetPercentage());
  ExpectLayout(60, kWidth);

  DragBarTo(kWidth);
  EXPECT_EQ(kWidth, m_movedTo.back());
  EXPECT_EQ(90, m_splitter->GetPercentage());
  ExpectLayout(540, kWidth);

  DragBarTo(-80);
  EXPECT_EQ(10, m_splitter->GetPercentage()) << "beyond the edge clamps too";

  DragBarTo(150);
  EXPECT_EQ(25, m_splitter->GetPercentage());
  ExpectLayout(150, kWidth);
  EXPECT_FALSE(CSplitController::IsDragging());
}

TEST_F(SplitterTest, ResizingKeepsThePercentageNotThePixels) {
  DragBarTo(300);
  EXPECT_EQ(50, m_splitter->GetPercentage());
  ExpectLayout(300, kWidth);

  m_splitter->Resize(400, kHeight);
  ExpectLayout(200, 400);
  m_splitter->Resize(kWidth, kHeight);
  ExpectLayout(300, kWidth);
}

TEST_F(SplitterTest, TheDragLineIsInvertedWhileDraggingAndOnlyThen) {
  const std::vector<COLORREF> before = ProbeRow();

  // Without a drag, moves with or without the button draw nothing.
  for (int x : {-50, 0, 2, 30}) {
    SendMessageA(Bar(), WM_MOUSEMOVE, MK_LBUTTON, MouseAt(x, 10));
    SendMessageA(Bar(), WM_MOUSEMOVE, 0, MouseAt(x, 10));
  }
  SendMessageA(Bar(), WM_LBUTTONUP, 0, MouseAt(30, 10));
  EXPECT_TRUE(m_movedTo.empty()) << "a release without a drag moves nothing";
  EXPECT_EQ(before, ProbeRow());

  // A press shows the line in the middle of the bar, inverted.
  SendMessageA(Bar(), WM_LBUTTONDOWN, MK_LBUTTON, MouseAt(1, 10));
  EXPECT_TRUE(CSplitController::IsDragging());
  std::vector<COLORREF> pressed = ProbeRow();
  const int middle = 120 + CSplitter::kBarWidth / 2;
  EXPECT_EQ(before[middle] ^ 0xFFFFFF, pressed[middle]);
  for (int x = 0; x < kWidth; ++x) {
    if (x != middle) {
      EXPECT_EQ(before[x], pressed[x]) << "x " << x;
    }
  }

  // Moving the mouse moves the line: the old place is restored.
  SendMessageA(Bar(), WM_MOUSEMOVE, MK_LBUTTON, MouseAt(-39, 10));
  std::vector<COLORREF> moved = ProbeRow();
  EXPECT_EQ(before[middle], moved[middle]);
  EXPECT_EQ(before[middle - 40] ^ 0xFFFFFF, moved[middle - 40]);

  // The release erases the line before the panes are laid out again.
  SendMessageA(Bar(), WM_LBUTTONUP, 0, MouseAt(-39, 10));
  EXPECT_FALSE(CSplitController::IsDragging());
  ASSERT_EQ(1u, m_movedTo.size());
  EXPECT_EQ(middle - 40, m_movedTo[0]);
  qmtest::PumpMessages();
  EXPECT_EQ((middle - 40) * 100 / kWidth, m_splitter->GetPercentage());
}

TEST_F(SplitterTest, AMoveBeforeTheFirstLayoutIsIgnored) {
  TestHostWindow otherHost(300, 200);
  CSplitter unlaidOut(otherHost.Handle());
  unlaidOut.MoveSplit(150);
  EXPECT_EQ(20, unlaidOut.GetPercentage()) << "no width yet to take a share of";
}

TEST(SplitterClassTest, RegisteringTheBarClassTwiceThrows) {
  // The suite above registered it already in this process, or this does.
  try {
    CSplitter::RegisterBarClass(GetModuleHandleA(nullptr));
  } catch (const char*) {
  }
  try {
    CSplitter::RegisterBarClass(GetModuleHandleA(nullptr));
    ADD_FAILURE() << "a second registration must throw";
  } catch (const char* text) {
    EXPECT_STREQ("Internal error: RegisterClassEx failed.", text);
  }
}

}  // namespace

TEST_F(SplitterTest, AMinimumLeftWidthHoldsAgainstShareAndDragButNeverPassesHalf) {
  m_splitter->SetMinimumLeftWidth(200);
  m_splitter->Resize(kWidth, kHeight);
  ExpectLayout(200, kWidth);
  DragBarTo(0);
  EXPECT_EQ(10, m_splitter->GetPercentage()) << "the share is the drag's";
  ExpectLayout(200, kWidth);
  DragBarTo(360);
  ExpectLayout(360, kWidth);
  m_splitter->Resize(300, kHeight);
  ExpectLayout(180, 300);
  DragBarTo(0);
  ExpectLayout((300 - CSplitter::kBarWidth) / 2, 300);
}
