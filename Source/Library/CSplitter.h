// CSplitter: splits a window's client area side by side into two panes with
// a 4-pixel bar between them. The split is kept as a percentage of the width
// so that resizing preserves the proportion; the bar window (whose state is
// CSplitController) reports drags with kSplitterMovedMessage to the parent,
// which passes the line x to MoveSplit.
#pragma once

#include <windows.h>

class CSplitter {
 public:
  static constexpr const char* kBarClassName = "CSplitterClass";
  static constexpr int kBarId = 4000500;
  static constexpr int kBarWidth = 4;
  // Sent by the bar to its parent: wParam the new line x in the parent's
  // client coordinates, lParam 0.
  static constexpr UINT kSplitterMovedMessage = 0x4401;
  static constexpr int kInitialPercentage = 20;
  static constexpr int kMinimumPercentage = 10;
  static constexpr int kMaximumPercentage = 90;
  static constexpr int kMostPreferredPercentage = 40;

  // Registers the bar window class; throws the toolkit's registration text.
  static void RegisterBarClass(HINSTANCE instance);

  // Creates the bar as a visible child of parent; throws the toolkit's
  // creation text when it cannot.
  explicit CSplitter(HWND parent);
  // Destroys the bar when it still exists.
  ~CSplitter();
  CSplitter(const CSplitter&) = delete;
  CSplitter& operator=(const CSplitter&) = delete;

  void SetPanes(HWND left, HWND right);
  void SetTop(int top) { m_top = top; }
  // The left pane is never narrower than this (a list that would have to
  // scroll sideways), unless the right pane would then be the narrower.
  void SetMinimumLeftWidth(int width) { m_minimumLeftWidth = width; }
  // Until the user first drags the bar, the left pane is at least this wide
  // where that is at most kMostPreferredPercentage of the width: a share
  // alone suits one window size, a width in pixels what the pane shows.
  void SetPreferredLeftWidth(int width) { m_preferredLeftWidth = width; }
  // Stores the split area's size and lays the panes and the bar out.
  void Resize(int width, int height);
  // Where the last Resize put the right pane, in the parent's client area:
  // a right pane made after the layout is made there, and sized once.
  RECT RightPaneRect() const;
  // Takes the line x of a finished drag: the new percentage, kept between
  // 10 and 90, then a layout.
  void MoveSplit(int x);

  HWND GetBar() const { return m_bar; }
  int GetPercentage() const { return m_percentage; }

 private:
  HWND m_parent;
  HWND m_left;
  HWND m_right;
  HWND m_bar;
  int m_top;
  int m_width;
  int m_height;
  int m_percentage;
  int m_minimumLeftWidth = 0;
  int m_preferredLeftWidth = 0;
  int m_leftWidth = 0;
  bool m_dragged = false;
};
