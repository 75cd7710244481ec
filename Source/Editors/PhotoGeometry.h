// The arithmetic of the photo dialog, apart from its windows so that it is
// tested natively: where the photo view sits in its frame at a zoom, how far
// the frame scrolls, how the zoom steps, and how large a photo prints.
// Everything is in 64-bit integers where sizes are multiplied, so a large
// photo on a high-resolution printer cannot overflow, and a picture without
// size or resolution never divides by zero.
#ifndef QUILLMATE_EDITORS_PHOTOGEOMETRY_H
#define QUILLMATE_EDITORS_PHOTOGEOMETRY_H

#include <cstdint>

// The view's rectangle inside the frame's client area and the largest
// scroll positions of the frame's bars (0: the bar is not needed).
struct PhotoPlacement {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  int horizontalRange = 0;
  int verticalRange = 0;
};

// Lays a picture of pictureWidth x pictureHeight out in a frame whose
// client area is frameWidth x frameHeight: the displayed width is the
// frame's width times the zoom; at zoom 1 (fit to window) it shrinks to the
// widest picture no wider than the frame and strictly lower than it, and a
// small picture is enlarged the same way. The height keeps the picture's
// proportions; the view is centred (never at a negative offset). A picture
// or frame without area gives an empty placement.
PhotoPlacement PlacePhoto(int frameWidth, int frameHeight, int pictureWidth, int pictureHeight, float zoom);

// One step of the zoom commands: in multiplies by 1.1 unless the zoom is
// already above 16; out divides by 1.1 unless it is already below 0.0625.
float ZoomIn(float zoom);
float ZoomOut(float zoom);
constexpr float kFitZoom = 1.0f;

// A photo's size in printer pixels at its physical size, and whether it is
// wider than the printable width (the user is then asked whether to fit it).
struct PrintedSize {
  std::int64_t width = 0;
  std::int64_t height = 0;
  bool widerThanPage = false;
};

// Resolutions of 0 (none known) count as 96 dots per inch.
PrintedSize PrintedPhotoSize(int pictureWidth, int pictureHeight, int pictureXDpi, int pictureYDpi,
                             int printerXDpi, int printerYDpi, int printableWidth);
// The size scaled down to the printable width with its proportions kept.
PrintedSize FitToPrintableWidth(const PrintedSize& size, int printableWidth);

#endif  // QUILLMATE_EDITORS_PHOTOGEOMETRY_H
