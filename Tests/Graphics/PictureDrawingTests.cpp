// CPicture drawing into device contexts, and the metafile formats, under
// Wine: the picture is drawn into a memory bitmap whose pixels are read
// back.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

#include "CraftedMetafiles.h"
#include "Graphics/CPicture.h"
#include "Graphics/PictureFormat.h"
#include "Support/FileBytes.h"
#include "Support/ScratchFolder.h"
#include "TestPictures.h"

namespace {

// A 32-bit top-down bitmap selected into a memory device context.
class MemoryCanvas {
 public:
  MemoryCanvas(int width, int height, COLORREF fill) : m_width(width), m_height(height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    m_dc = CreateCompatibleDC(nullptr);
    m_bitmap = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&m_bits), nullptr, 0);
    m_old = SelectObject(m_dc, m_bitmap);
    HBRUSH brush = CreateSolidBrush(fill);
    const RECT all = {0, 0, width, height};
    FillRect(m_dc, &all, brush);
    DeleteObject(brush);
  }
  ~MemoryCanvas() {
    SelectObject(m_dc, m_old);
    DeleteObject(m_bitmap);
    DeleteDC(m_dc);
  }
  HDC Dc() const { return m_dc; }
  // The pixel as the picture layer reports colours: 0x00RRGGBB.
  std::uint32_t At(int x, int y) const {
    GdiFlush();
    return m_bits[static_cast<std::size_t>(y) * m_width + x] & 0x00FFFFFF;
  }

 private:
  int m_width, m_height;
  HDC m_dc;
  HBITMAP m_bitmap;
  HGDIOBJ m_old;
  std::uint32_t* m_bits = nullptr;
};

constexpr std::uint32_t kMagenta = 0x00FF00FF;

TEST(PictureDrawing, StretchesTheWholePictureIntoTheRectangleOnly) {
  CPicture picture;
  ASSERT_TRUE(picture.Load(qmtest::TestPicturePath("bmp-24.bmp"), kFormatBmp));
  MemoryCanvas canvas(100, 80, RGB(255, 0, 255));
  SetStretchBltMode(canvas.Dc(), BLACKONWHITE);
  const RECT target = {10, 5, 10 + 2 * picture.Width(), 5 + 2 * picture.Height()};
  ASSERT_TRUE(picture.Draw(canvas.Dc(), target));
  EXPECT_EQ(GetStretchBltMode(canvas.Dc()), BLACKONWHITE);  // the caller's mode is kept
  int mismatches = 0;
  for (int y = 0; y < picture.Height(); ++y) {
    for (int x = 0; x < picture.Width(); ++x) {
      const std::uint32_t expected = picture.PixelAt(x, y) & 0x00FFFFFF;
      mismatches += canvas.At(10 + 2 * x, 5 + 2 * y) != expected;
      mismatches += canvas.At(11 + 2 * x, 6 + 2 * y) != expected;
    }
  }
  EXPECT_EQ(mismatches, 0);
  EXPECT_EQ(canvas.At(9, 5), kMagenta);
  EXPECT_EQ(canvas.At(10, 4), kMagenta);
  EXPECT_EQ(canvas.At(target.right, 5), kMagenta);
  EXPECT_EQ(canvas.At(10, target.bottom), kMagenta);

  // Nothing to draw, or nowhere to draw it: false, the canvas untouched.
  const RECT flat = {0, 0, 50, 0};
  EXPECT_FALSE(picture.Draw(canvas.Dc(), flat));
  CPicture empty;
  EXPECT_FALSE(empty.Draw(canvas.Dc(), RECT{0, 0, 5, 5}));
  EXPECT_EQ(canvas.At(0, 0), kMagenta);
}

int CALLBACK NoteStretchRecords(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM notes) {
  auto* seen = reinterpret_cast<std::vector<std::uint32_t>*>(notes);
  if (record->iType == EMR_SETSTRETCHBLTMODE) {
    seen->push_back(reinterpret_cast<const EMRSETSTRETCHBLTMODE*>(record)->iMode);
  } else if (record->iType == EMR_STRETCHDIBITS) {
    seen->push_back(0);  // the drawing itself
  }
  return 1;
}

// The stretch modes a drawing of picture into target sets, in order, with 0
// where the pixels are drawn: recorded through an enhanced metafile, since
// Wine's own stretching ignores the mode.
std::vector<std::uint32_t> RecordedStretch(const CPicture& picture, const RECT& target) {
  HDC recorder = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
  EXPECT_TRUE(picture.Draw(recorder, target));
  HENHMETAFILE metafile = CloseEnhMetaFile(recorder);
  std::vector<std::uint32_t> seen;
  EnumEnhMetaFile(nullptr, metafile, NoteStretchRecords, &seen, nullptr);
  DeleteEnhMetaFile(metafile);
  return seen;
}

TEST(PictureDrawing, ShrinkingSmoothesAndEnlargingKeepsPixelsSharp) {
  CPicture picture;
  ASSERT_TRUE(picture.Load(qmtest::TestPicturePath("bmp-24.bmp"), kFormatBmp));
  const std::vector<std::uint32_t> shrunk = RecordedStretch(picture, RECT{0, 0, 18, 11});
  ASSERT_GE(shrunk.size(), 2u);
  EXPECT_EQ(shrunk[0], static_cast<std::uint32_t>(HALFTONE));
  EXPECT_EQ(shrunk[1], 0u);
  // Narrower but not lower is still shrinking.
  EXPECT_EQ(RecordedStretch(picture, RECT{0, 0, 30, 40})[0], static_cast<std::uint32_t>(HALFTONE));
  const std::vector<std::uint32_t> enlarged = RecordedStretch(picture, RECT{0, 0, 74, 46});
  ASSERT_GE(enlarged.size(), 2u);
  EXPECT_EQ(enlarged[0], static_cast<std::uint32_t>(COLORONCOLOR));
  EXPECT_EQ(enlarged[1], 0u);
}

TEST(PictureDrawing, TransparentPartsShowTheBackgroundColour) {
  CPicture picture;
  ASSERT_TRUE(picture.Load(qmtest::TestPicturePath("png-rgba.png"), kFormatPng));
  MemoryCanvas canvas(picture.Width(), picture.Height(), RGB(0, 0, 255));
  const RECT all = {0, 0, picture.Width(), picture.Height()};
  ASSERT_TRUE(picture.Draw(canvas.Dc(), all));
  EXPECT_EQ(canvas.At(0, 0), 0x00FFFFFFu);  // white until another colour is set
  picture.SetBackground(RGB(0, 255, 0));
  ASSERT_TRUE(picture.Draw(canvas.Dc(), all));
  EXPECT_EQ(canvas.At(0, 3), 0x0000FF00u);
  EXPECT_EQ(canvas.At(picture.Width() - 1, 3), picture.PixelAt(picture.Width() - 1, 3) & 0x00FFFFFF);
  EXPECT_TRUE(picture.HasTransparency());  // drawing flattens a copy only

  // Each paint used to copy and flatten the whole picture (about a second
  // per paint at 100 megapixels): now once per picture and background.
  const std::uint64_t pixels = static_cast<std::uint64_t>(picture.Width()) * picture.Height();
  std::uint64_t before = CPicture::FlattenedPixels();
  for (int paint = 0; paint < 5; ++paint) ASSERT_TRUE(picture.Draw(canvas.Dc(), all));
  EXPECT_EQ(CPicture::FlattenedPixels() - before, 0u);
  picture.SetBackground(RGB(255, 0, 0));
  for (int paint = 0; paint < 5; ++paint) ASSERT_TRUE(picture.Draw(canvas.Dc(), all));
  EXPECT_EQ(CPicture::FlattenedPixels() - before, pixels);
  EXPECT_EQ(canvas.At(0, 3), 0x00FF0000u);
  before = CPicture::FlattenedPixels();
  ASSERT_TRUE(picture.Load(qmtest::TestPicturePath("png-rgba.png"), kFormatPng));
  picture.SetBackground(RGB(255, 0, 0));
  for (int paint = 0; paint < 3; ++paint) ASSERT_TRUE(picture.Draw(canvas.Dc(), all));
  EXPECT_EQ(CPicture::FlattenedPixels() - before, pixels);
}

// Red on the left half, blue on the right half of a 192 x 96 area.
void PaintHalves(HDC dc) {
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0)), blue = CreateSolidBrush(RGB(0, 0, 255));
  const RECT left = {0, 0, 96, 96}, right = {96, 0, 192, 96};
  FillRect(dc, &left, red);
  FillRect(dc, &right, blue);
  DeleteObject(red);
  DeleteObject(blue);
}

void ExpectHalves(const CPicture& picture, int width, int height) {
  ASSERT_FALSE(picture.IsEmpty());
  EXPECT_NEAR(picture.Width(), width, 2);
  EXPECT_NEAR(picture.Height(), height, 2);
  EXPECT_EQ(picture.PixelAt(picture.Width() / 4, picture.Height() / 2), 0xFFFF0000u);
  EXPECT_EQ(picture.PixelAt(picture.Width() * 3 / 4, picture.Height() / 2), 0xFF0000FFu);
  EXPECT_EQ(picture.XResolution(), 96);
}

TEST(PictureDrawing, MetafilesArePlayedAtTheirStatedSize) {
  qmtest::ScratchFolder folder("Metafiles");

  // EMF: a frame of 2 x 1 inches (in hundredths of a millimetre).
  const std::string emfPath = folder.PathOf("halves.emf");
  const RECT frame = {0, 0, 5080, 2540};
  HDC screen = GetDC(nullptr);
  const int dpiX = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  HDC emf = CreateEnhMetaFileA(nullptr, emfPath.c_str(), &frame, nullptr);
  ASSERT_NE(emf, nullptr);
  // Drawing units are the reference device's pixels; fill the whole frame.
  SetMapMode(emf, MM_ANISOTROPIC);
  SetWindowExtEx(emf, 192, 96, nullptr);
  SetViewportExtEx(emf, 2 * dpiX, dpiX, nullptr);
  PaintHalves(emf);
  DeleteEnhMetaFile(CloseEnhMetaFile(emf));
  CPicture picture;
  ASSERT_TRUE(picture.Load(emfPath, PictureFormatOfPath(emfPath)));
  ExpectHalves(picture, 192, 96);

  // Placeable WMF: a 22-byte header with the box and 96 units per inch.
  HDC wmf = CreateMetaFileA(nullptr);
  ASSERT_NE(wmf, nullptr);
  SetMapMode(wmf, MM_ANISOTROPIC);
  SetWindowOrgEx(wmf, 0, 0, nullptr);
  SetWindowExtEx(wmf, 192, 96, nullptr);
  PaintHalves(wmf);
  HMETAFILE handle = CloseMetaFile(wmf);
  std::vector<unsigned char> records(GetMetaFileBitsEx(handle, 0, nullptr));
  GetMetaFileBitsEx(handle, static_cast<UINT>(records.size()), records.data());
  DeleteMetaFile(handle);
  const std::uint16_t words[11] = {0xCDD7, 0x9AC6, 0, 0, 0, 192, 96, 96, 0, 0, 0};
  qmtest::Bytes file;
  std::uint16_t checksum = 0;
  for (int i = 0; i < 11; ++i) {
    const std::uint16_t word = i == 10 ? checksum : words[i];
    checksum ^= word;
    file.push_back(static_cast<unsigned char>(word));
    file.push_back(static_cast<unsigned char>(word >> 8));
  }
  file.insert(file.end(), records.begin(), records.end());
  const std::string wmfPath = folder.PathOf("halves.WMF");
  qmtest::WriteFileBytes(wmfPath, file);
  ASSERT_TRUE(picture.Load(wmfPath, PictureFormatOfPath(wmfPath)));
  ExpectHalves(picture, 192, 96);

  // Damage: a cut EMF and a WMF header without units per inch leave it empty.
  qmtest::Bytes cut = qmtest::ReadFileBytes(emfPath);
  cut.resize(60);
  EXPECT_FALSE(picture.Decode(cut.data(), cut.size(), kFormatMetafile));
  EXPECT_TRUE(picture.IsEmpty());
  file[14] = file[15] = 0;
  EXPECT_FALSE(picture.Decode(file.data(), file.size(), kFormatMetafile));
  EXPECT_TRUE(picture.IsEmpty());
}

// Files made to end or hang the platform's player are refused before it
// sees them; a frame of 100 megapixels is played smaller, at a resolution
// that keeps its printed size.
TEST(PictureDrawing, CraftedMetafilesAreRefusedOrPlayedWithinTheMetafileBudget) {
  using namespace qmtest;
  CPicture picture;
  const auto started = std::chrono::steady_clock::now();
  // 10,000 x 10,000 pixels at 96 dots per inch, filled by one rectangle.
  const MetafileBytes huge = CraftEmf(264583, 264583, 1, {EmfRectangle(10000, 10000)});
  ASSERT_TRUE(picture.Decode(huge.data(), huge.size(), kFormatMetafile));
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  EXPECT_LE(static_cast<std::int64_t>(picture.Width()) * picture.Height(), 16 * 1024 * 1024);
  EXPECT_GE(picture.Width(), 4000);
  EXPECT_NEAR(picture.XResolution(), 39, 1);
  EXPECT_LT(seconds, 20.0);
  std::printf("100-megapixel EMF played as %d x %d in %.2f s\n", picture.Width(), picture.Height(), seconds);

  EmfRecord zero = EmfRectangle(10, 10);
  zero.zeroSize = true;
  MetafileBytes garbage = CraftEmf(2540, 2540, 2, {EmfPolyline(64, 64)});
  for (std::size_t i = 88; i + 20 < garbage.size(); ++i) garbage[i] = static_cast<std::uint8_t>(i * 37 + 11);
  const MetafileBytes refused[] = {
      CraftEmf(2540, 2540, 1, {zero}),
      CraftEmf(2540, 2540, 1, {EmfPolyline(1u << 28, 4)}),
      CraftWmf(1000, 1000, 1, {{0x0324, Words16({30000, 0, 0, 1, 1, 2, 2})}}),
      CraftWmf(1000, 1000, 1, {{0x0418, Words16({1, 1, 0, 0}), true}}),
      garbage,
  };
  for (const MetafileBytes& bytes : refused) {
    EXPECT_FALSE(picture.Decode(bytes.data(), bytes.size(), kFormatMetafile));
    EXPECT_TRUE(picture.IsEmpty());
  }
}

}  // namespace
