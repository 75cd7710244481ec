// Layout, zoom steps and print size of the photo dialog.
#include "Editors/PhotoGeometry.h"

namespace {

constexpr int kUnknownDpi = 96;

}  // namespace

PhotoPlacement PlacePhoto(int frameWidth, int frameHeight, int pictureWidth, int pictureHeight, float zoom) {
  PhotoPlacement placement;
  if (frameWidth <= 0 || frameHeight <= 0 || pictureWidth <= 0 || pictureHeight <= 0 || !(zoom > 0)) {
    return placement;
  }
  const std::int64_t iw = pictureWidth, ih = pictureHeight, cw = frameWidth, ch = frameHeight;
  std::int64_t w = static_cast<std::int64_t>(static_cast<double>(cw) * zoom);
  if (zoom == kFitZoom && w * ih >= ch * iw) {
    // The widest w whose height w * ih / iw stays strictly below ch.
    w = (ch * iw - 1) / ih;
  }
  const std::int64_t h = w * ih / iw;
  if (w <= 0 || h <= 0 || w > 0x7FFFFFFF || h > 0x7FFFFFFF) return placement;
  placement.width = static_cast<int>(w);
  placement.height = static_cast<int>(h);
  placement.x = w < cw ? static_cast<int>((cw - w) / 2) : 0;
  placement.y = h < ch ? static_cast<int>((ch - h) / 2) : 0;
  // The last position shows the picture's far edge one pixel short, as the
  // bars always did; a picture that fits needs no bar at all.
  placement.horizontalRange = w - cw - 1 > 0 ? static_cast<int>(w - cw - 1) : 0;
  placement.verticalRange = h - ch - 1 > 0 ? static_cast<int>(h - ch - 1) : 0;
  return placement;
}

float ZoomIn(float zoom) { return zoom > 16.0f ? zoom : zoom * 1.1f; }

float ZoomOut(float zoom) { return zoom >= 0.0625f ? zoom * 0.9090909090909090f : zoom; }

PrintedSize PrintedPhotoSize(int pictureWidth, int pictureHeight, int pictureXDpi, int pictureYDpi,
                             int printerXDpi, int printerYDpi, int printableWidth) {
  PrintedSize size;
  if (pictureWidth <= 0 || pictureHeight <= 0) return size;
  const std::int64_t xDpi = pictureXDpi > 0 ? pictureXDpi : kUnknownDpi;
  const std::int64_t yDpi = pictureYDpi > 0 ? pictureYDpi : kUnknownDpi;
  size.width = static_cast<std::int64_t>(printerXDpi) * pictureWidth / xDpi;
  size.height = static_cast<std::int64_t>(printerYDpi) * pictureHeight / yDpi;
  size.widerThanPage = size.width > printableWidth;
  return size;
}

PrintedSize FitToPrintableWidth(const PrintedSize& size, int printableWidth) {
  PrintedSize fitted = size;
  if (size.width <= 0 || printableWidth <= 0) return fitted;
  // Multiply before dividing: ph / pw in integers would be 0 for any photo
  // wider than high.
  fitted.height = size.height * printableWidth / size.width;
  fitted.width = printableWidth;
  fitted.widerThanPage = false;
  return fitted;
}
