// UpdateCanvas: a window's device context from GetDC for drawing outside
// WM_PAINT, released when the scope ends.
#pragma once

#include "Library/Canvas.h"

class UpdateCanvas : public Canvas {
 public:
  explicit UpdateCanvas(HWND window) : Canvas(GetDC(window)), m_window(window) {}
  ~UpdateCanvas() {
    if (m_dc) ReleaseDC(m_window, m_dc);
  }

 private:
  HWND m_window;
};
