// Not a test: what showing a 12-megapixel camera photo costs under Wine:
// decoding the JPEG through the picture layer, then laying it out at fit to
// window in a frame of the photo dialog's size and painting it there
// (shrunk with HALFTONE), as the photo view does. Figures only, no
// assertions; run with scripts/bench-wine.sh.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "Editors/PhotoGeometry.h"
#include "Graphics/CPicture.h"
#include "Graphics/PictureFormat.h"
#include "PhotoLikeJpeg.h"

namespace {

constexpr int kRuns = 5;
// The client area of the 500 x 290 frame without scroll bars.
constexpr int kClientWidth = 496, kClientHeight = 286;

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main() {
  const std::vector<unsigned char> jpeg = PhotoLikeJpeg(4000, 3000);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = kClientWidth;
  info.bmiHeader.biHeight = -kClientHeight;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, bitmap);

  CPicture picture;
  std::vector<double> decode, paint;
  for (int run = 0; run < kRuns; ++run) {
    LARGE_INTEGER start, decoded, painted;
    QueryPerformanceCounter(&start);
    if (!picture.Decode(jpeg.data(), jpeg.size(), kFormatJpeg)) {
      std::printf("decoding failed\n");
      return 1;
    }
    QueryPerformanceCounter(&decoded);
    const PhotoPlacement place = PlacePhoto(kClientWidth, kClientHeight, picture.Width(), picture.Height(), kFitZoom);
    const RECT target = {place.x, place.y, place.x + place.width, place.y + place.height};
    picture.Draw(dc, target);
    GdiFlush();
    QueryPerformanceCounter(&painted);
    decode.push_back(Milliseconds(start, decoded));
    paint.push_back(Milliseconds(decoded, painted));
  }
  std::printf("12-megapixel JPEG (%zu bytes) under Wine, median of %d runs: decode %.1f ms, "
              "fit-to-window layout and paint into %d x %d %.1f ms\n",
              jpeg.size(), kRuns, Median(decode), kClientWidth, kClientHeight, Median(paint));
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return 0;
}
