// PaintCanvas: BeginPaint/EndPaint around a WM_PAINT handler.
#pragma once

#include "Library/Canvas.h"

class PaintCanvas : public Canvas {
 public:
  explicit PaintCanvas(HWND window) : Canvas(nullptr), m_window(window), m_paint() {
    m_dc = BeginPaint(window, &m_paint);
  }
  ~PaintCanvas() { EndPaint(m_window, &m_paint); }

  const PAINTSTRUCT& GetPaint() const { return m_paint; }

 private:
  HWND m_window;
  PAINTSTRUCT m_paint;
};
