// Canvas: a device context held by a drawing scope; the base of
// UpdateCanvas and PaintCanvas, which give their context back on destruction.
#pragma once

#include <windows.h>

class Canvas {
 public:
  HDC GetHdc() const { return m_dc; }
  operator HDC() const { return m_dc; }

 protected:
  explicit Canvas(HDC dc) : m_dc(dc) {}
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;
  ~Canvas() {}

  HDC m_dc;
};
