// CSplitController: the state of the splitter bar window during a drag, and
// the bar's window procedure. While the left button is held an inverted
// one-pixel line follows the mouse on the parent's surface; on release the
// parent gets CSplitter::kSplitterMovedMessage with the line's x.
#pragma once

#include <windows.h>

class CSplitController {
 public:
  CSplitController(HWND bar, HWND parent);

  // The bar's window procedure; its handlers run under a guard that shows
  // toolkit failures captioned "Initialization WndProcSplitter".
  static LRESULT CALLBACK BarWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  // Whether a drag of the bar is in progress (there is one bar per process).
  static bool IsDragging();

  void OnSize(int width, int height);
  void StartDrag(int mouseX);
  void DragTo(int mouseX);
  void EndDrag(int mouseX);
  void OnCaptureChanged();

  int GetLineX() const { return m_lineX; }

 private:
  // Inverts the line at m_lineX; drawing it twice restores the surface.
  void InvertLine();

  HWND m_bar;
  HWND m_parent;
  int m_barWidth;
  int m_barHeight;
  int m_lineTop;
  int m_dragOffset;
  int m_lineX;
  bool m_lineShown;
};
