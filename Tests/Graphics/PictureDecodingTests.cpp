// The picture layer against pictures ImageMagick wrote in every format and
// variant: pixels, sizes and resolutions match ImageMagick's own decoding;
// truncated, damaged and oversized files leave an empty picture (and, under
// the sanitizers, no leak and no bad access).
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "Graphics/CPicture.h"
#include "Graphics/PictureFormat.h"
#include "Support/FileBytes.h"
#include "TestPictures.h"

namespace {

using qmtest::Bytes;
using qmtest::TestPicture;

TEST(PictureDecoding, EveryFormatAndVariantMatchesTheReference) {
  const std::vector<TestPicture> pictures = qmtest::TestPictures();
  ASSERT_GE(pictures.size(), 45u) << "test pictures missing under " << QM_TEST_PICTURES;
  std::set<int> formats;
  for (const TestPicture& p : pictures) {
    SCOPED_TRACE(p.file);
    CPicture picture;
    // The stored name's extension picks the decoder, whatever its case.
    std::string upper = p.file;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    ASSERT_EQ(PictureFormatOfPath("C:\\Album\\" + upper), p.format);
    ASSERT_TRUE(picture.Load(qmtest::TestPicturePath(p.file), p.format));
    EXPECT_EQ(picture.Width(), p.width);
    EXPECT_EQ(picture.Height(), p.height);
    if (p.dotsPerInch) {
      EXPECT_EQ(picture.XResolution(), p.dotsPerInch);
      EXPECT_EQ(picture.YResolution(), p.dotsPerInch);
    }
    const int difference = qmtest::DifferenceFromReference(picture, p.file);
    EXPECT_GE(difference, 0);
    EXPECT_LE(difference, p.tolerance);
    formats.insert(p.format);
  }
  EXPECT_EQ(formats.size(), 9u);  // every raster format; metafiles need Windows
}

TEST(PictureDecoding, ExtensionsAreKnownWithoutRegardToCase) {
  const struct {
    const char* path;
    int format;
  } cases[] = {
      {"Photo1.JPG", kFormatJpeg},   {"a.jpeg", kFormatJpeg},      {"b.Jpe", kFormatJpeg},
      {"c.JFIF", kFormatJpeg},       {"x.bmp", kFormatBmp},        {"x.GIF", kFormatGif},
      {"x.Png", kFormatPng},         {"x.ico", kFormatIco},        {"x.tif", kFormatTiff},
      {"x.TIFF", kFormatTiff},       {"x.tga", kFormatTga},        {"x.pcx", kFormatPcx},
      {"x.wbmp", kFormatWbmp},       {"x.WMF", kFormatMetafile},   {"x.emf", kFormatMetafile},
      {"no dot", kFormatUnknown},    {"x.txt", kFormatUnknown},    {"trailing.", kFormatUnknown},
      {"C:\\my.pictures\\photo", kFormatUnknown},                   {"x.jpg.bak", kFormatUnknown},
  };
  for (const auto& c : cases) EXPECT_EQ(PictureFormatOfPath(c.path), c.format) << c.path;
}

// Decoding over a decoded picture: every refusal must leave it empty.
void ExpectRefused(const Bytes& bytes, int format, std::size_t size, int tryFormat, std::uint64_t budget,
                   const std::string& what) {
  CPicture picture;
  ASSERT_TRUE(picture.Decode(bytes.data(), bytes.size(), format)) << what;
  EXPECT_FALSE(picture.Decode(bytes.data(), size, tryFormat, budget)) << what;
  EXPECT_TRUE(picture.IsEmpty()) << what;
  EXPECT_EQ(picture.Width(), 0) << what;
}

TEST(PictureDecoding, TruncatedAndOversizedPicturesLeaveItEmpty) {
  for (const TestPicture& p : qmtest::TestPictures()) {
    SCOPED_TRACE(p.file);
    const Bytes bytes = qmtest::ReadFileBytes(qmtest::TestPicturePath(p.file));
    ASSERT_FALSE(bytes.empty());
    const std::uint64_t pixels = static_cast<std::uint64_t>(p.width) * p.height;
    // One pixel over the budget is refused before anything is decoded.
    ExpectRefused(bytes, p.format, bytes.size(), p.format, pixels - 1, "budget");
    for (std::size_t cut : {std::size_t{0}, std::size_t{8}, std::size_t{40}, bytes.size() / 2}) {
      ExpectRefused(bytes, p.format, cut, p.format, kPixelBudget, "cut at " + std::to_string(cut));
    }
    // The wrong decoder for the file is a refusal too.
    ExpectRefused(bytes, p.format, bytes.size(), p.format == kFormatPng ? kFormatJpeg : kFormatPng, kPixelBudget,
                  "other format");
  }
}

// Random damage: a few bytes replaced anywhere. Whatever the decoder makes
// of it, it must not crash, leak or read out of bounds (the sanitizers
// watch), and a picture it accepts is whole.
TEST(PictureDecoding, RandomlyDamagedPicturesAreSafe) {
  const std::uint32_t seed = 20261207;
  std::printf("damage seed %u\n", seed);
  std::mt19937 random(seed);
  for (const TestPicture& p : qmtest::TestPictures()) {
    SCOPED_TRACE(p.file);
    const Bytes original = qmtest::ReadFileBytes(qmtest::TestPicturePath(p.file));
    ASSERT_FALSE(original.empty());
    for (int round = 0; round < 60; ++round) {
      Bytes damaged = original;
      const int changes = 1 + static_cast<int>(random() % 6);
      for (int i = 0; i < changes; ++i) damaged[random() % damaged.size()] = static_cast<unsigned char>(random());
      CPicture picture;
      if (picture.Decode(damaged.data(), damaged.size(), p.format, 1u << 20)) {
        EXPECT_GT(picture.Width(), 0);
        EXPECT_GT(picture.Height(), 0);
        EXPECT_EQ(picture.Pixels().Width() * picture.Pixels().Height(),
                  static_cast<std::uint32_t>(picture.Width()) * picture.Height());
        EXPECT_GE(picture.XResolution(), 1);
      } else {
        EXPECT_TRUE(picture.IsEmpty());
      }
    }
  }
}

// An EXIF APP1 segment with one orientation entry, in either byte order.
Bytes ExifSegment(int orientation, bool bigEndian) {
  Bytes tiff = bigEndian ? Bytes{'M', 'M', 0, 42, 0, 0, 0, 8, 0, 1, 0x01, 0x12, 0, 3, 0, 0, 0, 1, 0,
                                 static_cast<unsigned char>(orientation), 0, 0, 0, 0, 0, 0}
                         : Bytes{'I', 'I', 42, 0, 8, 0, 0, 0, 1, 0, 0x12, 0x01, 3, 0, 1, 0, 0, 0,
                                 static_cast<unsigned char>(orientation), 0, 0, 0, 0, 0, 0, 0};
  Bytes segment = {0xFF, 0xE1, 0, 0, 'E', 'x', 'i', 'f', 0, 0};
  segment.insert(segment.end(), tiff.begin(), tiff.end());
  segment[2] = static_cast<unsigned char>((segment.size() - 2) >> 8);
  segment[3] = static_cast<unsigned char>(segment.size() - 2);
  return segment;
}

TEST(PictureDecoding, JpegExifOrientationStandsThePhotoUpright) {
  const Bytes plain = qmtest::ReadFileBytes(qmtest::TestPicturePath("jpeg-dpi.jpg"));
  CPicture stored;
  ASSERT_TRUE(stored.Decode(plain.data(), plain.size(), kFormatJpeg));
  const int w = stored.Width(), h = stored.Height();
  for (int orientation = 1; orientation <= 8; ++orientation) {
    SCOPED_TRACE(orientation);
    Bytes file = ExifSegment(orientation, orientation % 2 == 0);
    file.insert(file.begin(), plain.begin(), plain.begin() + 2);  // SOI first
    file.insert(file.end(), plain.begin() + 2, plain.end());
    CPicture shown;
    ASSERT_TRUE(shown.Decode(file.data(), file.size(), kFormatJpeg));
    const bool turned = orientation >= 5;
    ASSERT_EQ(shown.Width(), turned ? h : w);
    ASSERT_EQ(shown.Height(), turned ? w : h);
    EXPECT_EQ(shown.XResolution(), 300);
    // Where the stored top-left corner ends up, as a viewer shows it.
    const int cornerX[9] = {0, 0, w - 1, w - 1, 0, 0, h - 1, h - 1, 0};
    const int cornerY[9] = {0, 0, 0, h - 1, h - 1, 0, 0, w - 1, w - 1};
    EXPECT_EQ(shown.PixelAt(cornerX[orientation], cornerY[orientation]), stored.PixelAt(0, 0));
    // And every pixel keeps its neighbours: compare the whole picture.
    int mismatches = 0;
    for (int y = 0; y < shown.Height(); ++y) {
      for (int x = 0; x < shown.Width(); ++x) {
        int sx = x, sy = y;
        switch (orientation) {
          case 2: sx = w - 1 - x; break;
          case 3: sx = w - 1 - x, sy = h - 1 - y; break;
          case 4: sy = h - 1 - y; break;
          case 5: sx = y, sy = x; break;
          case 6: sx = y, sy = h - 1 - x; break;
          case 7: sx = w - 1 - y, sy = h - 1 - x; break;
          case 8: sx = w - 1 - y, sy = x; break;
        }
        mismatches += shown.PixelAt(x, y) != stored.PixelAt(sx, sy);
      }
    }
    EXPECT_EQ(mismatches, 0);
  }
}

TEST(PictureDecoding, CopiesFlattenOntoTheirBackgroundAndResolutionDefaultsTo96) {
  CPicture original;
  ASSERT_TRUE(original.Load(qmtest::TestPicturePath("png-rgba.png"), kFormatPng));
  ASSERT_TRUE(original.HasTransparency());
  CPicture copy(original);
  copy.SetBackground(0x0000FF00);  // green, as the platform writes colours
  copy.FlattenTransparency();
  EXPECT_FALSE(copy.HasTransparency());
  EXPECT_TRUE(original.HasTransparency());  // the copy owns its pixels
  // Transparent on the left, opaque on the right.
  const int right = original.Width() - 1, middle = original.Width() / 2;
  for (int y = 0; y < original.Height(); ++y) {
    EXPECT_EQ(original.PixelAt(0, y) >> 24, 0u);
    EXPECT_EQ(copy.PixelAt(0, y), 0xFF00FF00u);  // nothing but background
    EXPECT_EQ(copy.PixelAt(right, y), original.PixelAt(right, y));  // opaque: unchanged
    const unsigned alpha = original.PixelAt(middle, y) >> 24;
    EXPECT_GT(alpha, 0u);
    EXPECT_LT(alpha, 255u);
    // Half-transparent: at least as green as the picture's own pixel.
    EXPECT_GE((copy.PixelAt(middle, y) >> 8) & 0xFF, (original.PixelAt(middle, y) >> 8) & 0xFF);
  }
  copy.Empty();
  EXPECT_TRUE(copy.IsEmpty());
  EXPECT_FALSE(original.IsEmpty());

  // A stored resolution of zero counts as none: 96 dots per inch.
  Bytes bmp = qmtest::ReadFileBytes(qmtest::TestPicturePath("bmp-dpi.bmp"));
  ASSERT_GT(bmp.size(), 46u);
  std::fill(bmp.begin() + 38, bmp.begin() + 46, 0);
  CPicture zero;
  ASSERT_TRUE(zero.Decode(bmp.data(), bmp.size(), kFormatBmp));
  EXPECT_EQ(zero.XResolution(), 96);
  EXPECT_EQ(zero.YResolution(), 96);
  // A missing file and an unknown code leave it empty.
  EXPECT_FALSE(zero.Load(qmtest::TestPicturePath("no-such-file.png"), kFormatPng));
  EXPECT_TRUE(zero.IsEmpty());
  EXPECT_FALSE(zero.Load(qmtest::TestPicturePath("png-rgb.png"), kFormatUnknown));
}

}  // namespace
