// Drawing a CPicture into a device context: the rows go to StretchDIBits as
// a top-down 32-bit bitmap.
#include "Graphics/CPicture.h"

bool CPicture::Draw(HDC dc, const RECT& target) const noexcept {
  const int targetWidth = target.right - target.left, targetHeight = target.bottom - target.top;
  if (IsEmpty() || !dc || targetWidth <= 0 || targetHeight <= 0) return false;
  // Transparent parts show the background colour: the flattened copy is drawn.
  const PixelBuffer* source = Flattened();
  if (!source) return false;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = Width();
  info.bmiHeader.biHeight = -Height();
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  // Shrinking with HALFTONE averages the pixels that fall together instead
  // of dropping rows and columns; HALFTONE needs the brush origin reset.
  const bool shrinking = targetWidth < Width() || targetHeight < Height();
  const int oldMode = SetStretchBltMode(dc, shrinking ? HALFTONE : COLORONCOLOR);
  POINT oldOrigin = {0, 0};
  SetBrushOrgEx(dc, 0, 0, &oldOrigin);
  const int lines = StretchDIBits(dc, target.left, target.top, targetWidth, targetHeight, 0, 0, Width(), Height(),
                                  source->Bytes(), &info, DIB_RGB_COLORS, SRCCOPY);
  SetBrushOrgEx(dc, oldOrigin.x, oldOrigin.y, nullptr);
  if (oldMode) SetStretchBltMode(dc, oldMode);
  return lines != 0 && lines != static_cast<int>(GDI_ERROR);
}
