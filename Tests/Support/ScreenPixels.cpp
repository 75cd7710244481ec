// The copy is taken through the window's own device context.
#include "Support/ScreenPixels.h"

#include <cstring>

namespace qmtest {

ScreenPixels::ScreenPixels(HWND window) {
  RECT client = {};
  GetClientRect(window, &client);
  m_width = client.right;
  m_height = client.bottom;
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

template <typename Visit>
void ScreenPixels::ForEach(const RECT& area, Visit visit) const {
  for (int y = area.top < 0 ? 0 : area.top; y < area.bottom && y < m_height; ++y) {
    for (int x = area.left < 0 ? 0 : area.left; x < area.right && x < m_width; ++x) {
      const unsigned value = m_pixels[static_cast<std::size_t>(y) * m_width + x];
      // DIB pixels are blue, green, red: turn them into a COLORREF.
      visit(RGB((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF));
    }
  }
}

int ScreenPixels::InkIn(const RECT& area) const {
  int ink = 0;
  ForEach(area, [&](COLORREF pixel) {
    if (GetRValue(pixel) + GetGValue(pixel) + GetBValue(pixel) < 3 * 110) ++ink;
  });
  return ink;
}

int ScreenPixels::OtherThan(const RECT& area, COLORREF colour) const {
  int other = 0;
  ForEach(area, [&](COLORREF pixel) {
    if (pixel != colour) ++other;
  });
  return other;
}

}  // namespace qmtest
