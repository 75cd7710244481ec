// CSplitter: layout of the two panes and the bar.
#include "Library/CSplitter.h"

#include <algorithm>

#include "Library/CSplitController.h"
#include "Library/WindowClassDef.h"
#include "Library/WindowCreateDef.h"

void CSplitter::RegisterBarClass(HINSTANCE instance) {
  WindowClassDef barClass(CSplitController::BarWindowProc, kBarClassName, instance);
  barClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_SIZEWE));
  barClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  barClass.Register();
}

CSplitter::CSplitter(HWND parent)
    : m_parent(parent),
      m_left(nullptr),
      m_right(nullptr),
      m_bar(nullptr),
      m_top(0),
      m_width(0),
      m_height(0),
      m_percentage(kInitialPercentage) {
  WindowCreateDef bar = WindowCreateDef::Child(kBarClassName, parent, kBarId);
  bar.style |= WS_VISIBLE;
  m_bar = bar.Create();
}

CSplitter::~CSplitter() {
  if (m_bar && IsWindow(m_bar)) DestroyWindow(m_bar);
}

void CSplitter::SetPanes(HWND left, HWND right) {
  m_left = left;
  m_right = right;
}

void CSplitter::Resize(int width, int height) {
  m_width = width;
  m_height = height;
  int leftWidth = width * m_percentage / 100;
  if (!m_dragged && m_preferredLeftWidth <= width * kMostPreferredPercentage / 100) {
    leftWidth = std::max(leftWidth, m_preferredLeftWidth);
  }
  leftWidth = std::max(leftWidth, std::min(m_minimumLeftWidth, (width - kBarWidth) / 2));
  if (leftWidth < 0) leftWidth = 0;
  m_leftWidth = leftWidth;
  MoveWindow(m_bar, leftWidth, m_top, kBarWidth, height, FALSE);
  if (m_left) MoveWindow(m_left, 0, m_top, leftWidth, height, TRUE);
  if (m_right) {
    const RECT place = RightPaneRect();
    MoveWindow(m_right, place.left, place.top, place.right - place.left, place.bottom - place.top, TRUE);
  }
  // The bar moved without repainting: give it its background now.
  InvalidateRect(m_bar, nullptr, TRUE);
  UpdateWindow(m_bar);
}

RECT CSplitter::RightPaneRect() const {
  return RECT{m_leftWidth + kBarWidth, m_top, m_width, m_top + m_height};
}

void CSplitter::MoveSplit(int x) {
  // Before the first layout there is no width to take a share of.
  if (m_width <= 0) return;
  int percentage = x * 100 / m_width;
  if (percentage < kMinimumPercentage) percentage = kMinimumPercentage;
  if (percentage > kMaximumPercentage) percentage = kMaximumPercentage;
  m_percentage = percentage;
  m_dragged = true;
  Resize(m_width, m_height);
}
