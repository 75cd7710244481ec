// The photo dialog's arithmetic: fit-to-window layout, zoom steps, scroll
// ranges and the printed size, in both builds.
#include <gtest/gtest.h>

#include "Editors/PhotoGeometry.h"

namespace {

// A client area of about the photo frame's size (500 x 290 less its edges
// and scroll bars).
constexpr int kFrameWidth = 476, kFrameHeight = 266;

TEST(PhotoGeometry, FitToWindowShowsTheWholePhotoCentred) {
  // A 2:1 photo, large or small, fills the frame's width, centred vertically.
  for (int scale : {1, 20, 150}) {
    const PhotoPlacement p = PlacePhoto(kFrameWidth, kFrameHeight, 20 * scale, 10 * scale, kFitZoom);
    EXPECT_EQ(p.width, kFrameWidth) << scale;
    EXPECT_EQ(p.height, kFrameWidth / 2) << scale;
    EXPECT_EQ(p.x, 0);
    EXPECT_EQ(p.y, (kFrameHeight - kFrameWidth / 2) / 2);
    EXPECT_EQ(p.horizontalRange, 0);
    EXPECT_EQ(p.verticalRange, 0);
  }
  // A portrait photo: the widest view strictly lower than the frame.
  const PhotoPlacement portrait = PlacePhoto(kFrameWidth, kFrameHeight, 1000, 2000, kFitZoom);
  EXPECT_EQ(portrait.width, 132);
  EXPECT_EQ(portrait.height, 264);
  EXPECT_EQ(portrait.x, (kFrameWidth - 132) / 2);
  EXPECT_EQ(portrait.y, 1);
  // Exactly as high as the frame is one pixel too high.
  EXPECT_EQ(PlacePhoto(400, 200, 400, 200, kFitZoom).height, 199);
}

TEST(PhotoGeometry, ZoomedViewsScrollOnlyWhereTheyOverflow) {
  const PhotoPlacement large = PlacePhoto(kFrameWidth, kFrameHeight, 3000, 1500, 2.0f);
  EXPECT_EQ(large.width, 2 * kFrameWidth);
  EXPECT_EQ(large.height, kFrameWidth);
  EXPECT_EQ(large.x, 0);
  EXPECT_EQ(large.y, 0);
  EXPECT_EQ(large.horizontalRange, 2 * kFrameWidth - kFrameWidth - 1);
  EXPECT_EQ(large.verticalRange, kFrameWidth - kFrameHeight - 1);
  // Smaller than the frame: centred, and no range at all (never negative).
  const PhotoPlacement small = PlacePhoto(kFrameWidth, kFrameHeight, 3000, 1500, 0.5f);
  EXPECT_EQ(small.width, kFrameWidth / 2);
  EXPECT_EQ(small.height, kFrameWidth / 4);
  EXPECT_EQ(small.x, (kFrameWidth - kFrameWidth / 2) / 2);
  EXPECT_EQ(small.horizontalRange, 0);
  EXPECT_EQ(small.verticalRange, 0);
  // Wider than the frame but lower: only the horizontal bar.
  const PhotoPlacement wide = PlacePhoto(kFrameWidth, kFrameHeight, 4000, 1000, 1.5f);
  EXPECT_GT(wide.horizontalRange, 0);
  EXPECT_EQ(wide.verticalRange, 0);
  EXPECT_EQ(wide.y, (kFrameHeight - wide.height) / 2);
  // A picture or frame without area gives an empty view, never a division by 0.
  for (const PhotoPlacement& empty :
       {PlacePhoto(kFrameWidth, kFrameHeight, 0, 100, kFitZoom), PlacePhoto(kFrameWidth, kFrameHeight, 100, 0, 2.0f),
        PlacePhoto(0, kFrameHeight, 100, 100, kFitZoom), PlacePhoto(kFrameWidth, 0, 100, 100, kFitZoom)}) {
    EXPECT_EQ(empty.width, 0);
    EXPECT_EQ(empty.height, 0);
    EXPECT_EQ(empty.horizontalRange, 0);
  }
}

TEST(PhotoGeometry, ZoomGrowsTenPercentPerStepUntilAboveSixteen) {
  float zoom = kFitZoom;
  int steps = 0;
  while (ZoomIn(zoom) != zoom) {
    EXPECT_FLOAT_EQ(ZoomIn(zoom) / zoom, 1.1f);
    EXPECT_LE(zoom, 16.0f);  // only a zoom of at most 16 may still grow
    zoom = ZoomIn(zoom);
    ++steps;
  }
  EXPECT_EQ(steps, 30);  // 1.1^29 = 15.9 grows once more, 1.1^30 = 17.4 stops
  EXPECT_GT(zoom, 16.0f);
  zoom = kFitZoom;
  steps = 0;
  while (ZoomOut(zoom) != zoom) {
    EXPECT_GE(zoom, 0.0625f);
    zoom = ZoomOut(zoom);
    ++steps;
  }
  EXPECT_EQ(steps, 30);
  EXPECT_LT(zoom, 0.0625f);
}

TEST(PhotoGeometry, PhotosPrintAtTheirPhysicalSizeOrFitTheWidth) {
  // 3000 x 2000 at 300 dpi on a 600-dpi page at least 6,100 pixels wide.
  const PrintedSize physical = PrintedPhotoSize(3000, 2000, 300, 300, 600, 600, 6100);
  EXPECT_EQ(physical.width, 6000);
  EXPECT_EQ(physical.height, 4000);
  EXPECT_FALSE(physical.widerThanPage);
  // On a narrower page the question comes; Yes keeps the proportions.
  const PrintedSize narrow = PrintedPhotoSize(3000, 2000, 300, 300, 600, 600, 4800);
  EXPECT_TRUE(narrow.widerThanPage);
  const PrintedSize fitted = FitToPrintableWidth(narrow, 4800);
  EXPECT_EQ(fitted.width, 4800);
  EXPECT_EQ(fitted.height, 3200);
  // No resolution stored: 96 dots per inch.
  const PrintedSize unknown = PrintedPhotoSize(960, 480, 0, 0, 600, 600, 10000);
  EXPECT_EQ(unknown.width, 6000);
  EXPECT_EQ(unknown.height, 3000);
  // Sizes whose products pass 32 bits stay exact.
  const PrintedSize huge = PrintedPhotoSize(60000, 40000, 1, 1, 1200, 1200, 9600);
  EXPECT_EQ(huge.width, 72000000);
  EXPECT_EQ(FitToPrintableWidth(huge, 9600).height, 6400);
  EXPECT_EQ(PrintedPhotoSize(0, 100, 300, 300, 600, 600, 6000).width, 0);
}

}  // namespace
