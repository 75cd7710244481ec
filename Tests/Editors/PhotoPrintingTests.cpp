// Printing a photo onto a page of known resolution and width: the drawing
// is recorded into an enhanced metafile (there is no printer under Wine)
// and read back record by record.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <vector>

#include "Editors/PhotoPrinting.h"
#include "Graphics/PictureFormat.h"
#include "Support/RecordedMessageBoxes.h"

namespace {

// A BMP file of width x height grey pixels stored at dpi dots per inch.
std::vector<unsigned char> GreyBmp(int width, int height, int dpi) {
  const std::uint32_t stride = (width * 3 + 3) & ~3u;
  std::vector<unsigned char> file(54 + static_cast<std::size_t>(stride) * height, 0x80);
  auto put = [&file](std::size_t at, std::uint32_t value) { std::memcpy(&file[at], &value, 4); };
  file[0] = 'B', file[1] = 'M';
  put(2, static_cast<std::uint32_t>(file.size()));
  put(6, 0);
  put(10, 54);
  put(14, 40);
  put(18, width);
  put(22, height);
  put(26, 1 | 24 << 16);  // planes, bits per pixel
  put(30, 0);
  put(34, 0);
  put(38, static_cast<std::uint32_t>(dpi / 0.0254 + 0.5));
  put(42, static_cast<std::uint32_t>(dpi / 0.0254 + 0.5));
  put(46, 0);
  put(50, 0);
  return file;
}

struct DrawnPicture {
  RECT target = {0, 0, 0, 0};
  int sourceWidth = 0, sourceHeight = 0;
  std::uint32_t firstPixel = 0;  // top-left, 0x00RRGGBB
  int count = 0;
};

int CALLBACK NoteStretch(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM data) {
  if (record->iType != EMR_STRETCHDIBITS) return 1;
  auto* drawn = reinterpret_cast<DrawnPicture*>(data);
  const auto* stretch = reinterpret_cast<const EMRSTRETCHDIBITS*>(record);
  drawn->target = RECT{stretch->xDest, stretch->yDest, stretch->xDest + stretch->cxDest,
                       stretch->yDest + stretch->cyDest};
  drawn->sourceWidth = stretch->cxSrc;
  drawn->sourceHeight = stretch->cySrc;
  const auto* base = reinterpret_cast<const unsigned char*>(record);
  const auto* info = reinterpret_cast<const BITMAPINFOHEADER*>(base + stretch->offBmiSrc);
  if (info->biBitCount == 32 && info->biHeight < 0) {
    std::memcpy(&drawn->firstPixel, base + stretch->offBitsSrc, 4);
    drawn->firstPixel &= 0x00FFFFFF;
  }
  ++drawn->count;
  return 1;
}

// Prints picture onto a recorded page and reads back what was drawn.
DrawnPicture Print(const CPicture& picture, int dpi, int printableWidth, bool& printed) {
  HDC recorder = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
  printed = PrintPhotoOnPage(nullptr, picture, PrintPage{recorder, dpi, dpi, printableWidth});
  HENHMETAFILE metafile = CloseEnhMetaFile(recorder);
  DrawnPicture drawn;
  EnumEnhMetaFile(nullptr, metafile, NoteStretch, &drawn, nullptr);
  DeleteEnhMetaFile(metafile);
  return drawn;
}

TEST(PhotoPrinting, PrintsAtPhysicalSizeOrAsksToFitTheWidth) {
  const std::vector<unsigned char> bmp = GreyBmp(3000, 2000, 300);
  CPicture photo;
  ASSERT_TRUE(photo.Decode(bmp.data(), bmp.size(), kFormatBmp));
  ASSERT_EQ(photo.XResolution(), 300);
  bool printed = false;
  {
    // 600 dpi, a page wide enough: 10 x 6.67 inches at (100, 100), no question.
    qmtest::RecordedMessageBoxes boxes(kIdYes);
    const DrawnPicture drawn = Print(photo, 600, 6100, printed);
    EXPECT_TRUE(printed);
    EXPECT_TRUE(boxes.shown.empty());
    ASSERT_EQ(drawn.count, 1);
    EXPECT_EQ(drawn.target.left, 100);
    EXPECT_EQ(drawn.target.top, 100);
    EXPECT_EQ(drawn.target.right - drawn.target.left, 6000);
    EXPECT_EQ(drawn.target.bottom - drawn.target.top, 4000);
    EXPECT_EQ(drawn.sourceWidth, 3000);
    EXPECT_EQ(drawn.sourceHeight, 2000);
  }
  {
    // A narrower page: the question; Yes fits the width, proportions kept.
    qmtest::RecordedMessageBoxes boxes(kIdYes);
    const DrawnPicture drawn = Print(photo, 600, 4800, printed);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "The Photo is bigger than the size of the Page. Fit it to the Page?");
    EXPECT_EQ(boxes.shown[0].caption, "Quillmate");
    EXPECT_EQ(boxes.shown[0].style, kMbYesNo | kMbIconInformation);
    EXPECT_EQ(drawn.target.right - drawn.target.left, 4800);
    EXPECT_EQ(drawn.target.bottom - drawn.target.top, 3200);
  }
  {
    // No: printed at its physical size all the same.
    qmtest::RecordedMessageBoxes boxes(kIdNo);
    const DrawnPicture drawn = Print(photo, 600, 4800, printed);
    EXPECT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(drawn.target.right - drawn.target.left, 6000);
  }
  // Nothing to print: nothing drawn.
  const DrawnPicture none = Print(CPicture(), 600, 6100, printed);
  EXPECT_FALSE(printed);
  EXPECT_EQ(none.count, 0);
}

TEST(PhotoPrinting, TransparencyPrintsWhiteAndUnknownResolutionIs96Dpi) {
  // A 2 x 1 Targa picture, top down, its left pixel fully transparent.
  const unsigned char tga[] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 1, 0, 32, 0x28,
                               0, 0, 255, 0, 255, 0, 0, 255};
  CPicture picture;
  ASSERT_TRUE(picture.Decode(tga, sizeof tga, kFormatTga));
  ASSERT_TRUE(picture.HasTransparency());
  picture.SetBackground(0x000000FF);  // the print background wins over the picture's
  bool printed = false;
  qmtest::RecordedMessageBoxes boxes(kIdYes);
  const DrawnPicture drawn = Print(picture, 960, 10000, printed);
  ASSERT_TRUE(printed);
  // 2 pixels at 96 dpi (none stored) are 20 pixels at 960 dpi.
  EXPECT_EQ(drawn.target.right - drawn.target.left, 20);
  EXPECT_EQ(drawn.target.bottom - drawn.target.top, 10);
  EXPECT_EQ(drawn.firstPixel, 0x00FFFFFFu);
  EXPECT_TRUE(picture.HasTransparency());  // the photo shown is not changed
}

}  // namespace
