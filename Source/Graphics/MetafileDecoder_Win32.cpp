// WMF and EMF pictures, played by the platform into a 32-bit bitmap at the
// size the metafile states for 96 dots per inch.
//
//   EMF: an EMR_HEADER record first (type 1); " EMF" at offset 40; the
//        frame (rclFrame, hundredths of a millimetre) gives the size.
//   Placeable WMF (22-byte header before a standard WMF)
//   | Offset | Size | Meaning                                              |
//   |--------|------|------------------------------------------------------|
//   | 0      | 4    | key 0x9AC6CDD7                                       |
//   | 6      | 8    | bounding box left, top, right, bottom (16-bit signed)|
//   | 14     | 2    | units per inch                                       |
//   Standard WMF: converted by the platform, which picks the size itself.
//
// Limits: every record is walked first (MetafileWalker.h) and a file that
// fails is not played; a size beyond kMetafilePixelBudget is scaled down
// before the bitmap is made.
#include <windows.h>

#include <cstring>

#include "Graphics/MetafileWalker.h"
#include "Graphics/PictureDecoders.h"

namespace {

constexpr int kScreenDpi = 96;
// Metafiles are played into a bitmap of at most this many pixels (and the
// same again while it is copied out): 16 megapixels, 4096 x 4096.
constexpr std::uint64_t kMetafilePixelBudget = 16u * 1024 * 1024;

// Owns the enhanced metafile handle.
struct MetafileHandle {
  HENHMETAFILE handle = nullptr;
  ~MetafileHandle() {
    if (handle) DeleteEnhMetaFile(handle);
  }
};

bool Play(HENHMETAFILE metafile, std::int64_t width, std::int64_t height, std::uint64_t pixelBudget,
          PixelBuffer& out) {
  if (width <= 0 || height <= 0 || !out.Allocate(width, height, pixelBudget)) return false;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = static_cast<LONG>(width);
  info.bmiHeader.biHeight = -static_cast<LONG>(height);
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  if (!dc) return false;
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  bool ok = false;
  if (bitmap && bits) {
    HGDIOBJ old = SelectObject(dc, bitmap);
    const RECT area = {0, 0, static_cast<LONG>(width), static_cast<LONG>(height)};
    FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    ok = PlayEnhMetaFile(dc, metafile, &area) != FALSE;
    GdiFlush();
    if (ok) {
      std::memcpy(out.Row(0), bits, static_cast<std::size_t>(width * height * 4));
      // GDI leaves the fourth byte undefined: the picture is opaque.
      for (std::uint32_t y = 0; y < out.Height(); ++y) {
        for (std::uint32_t x = 0; x < out.Width(); ++x) out.Row(y)[x * 4 + 3] = 255;
      }
    }
    SelectObject(dc, old);
  }
  if (bitmap) DeleteObject(bitmap);
  DeleteDC(dc);
  return ok;
}

}  // namespace

bool DecodeMetafile(const std::uint8_t* data, std::size_t size, std::uint64_t pixelBudget, PixelBuffer& out) {
  // The platform's player trusts every size and count: nothing it has not
  // been walked first reaches it.
  MetafileLayout layout;
  if (!WalkMetafile(data, size, layout)) return false;
  MetafileHandle metafile;
  std::int64_t width = layout.width, height = layout.height;
  if (layout.enhanced) {
    metafile.handle = SetEnhMetaFileBits(static_cast<UINT>(size), data);
  } else {
    // A placeable header's box becomes the picture's extent, in hundredths
    // of a millimetre; a standard WMF lets the platform choose.
    METAFILEPICT picture = {MM_ANISOTROPIC, static_cast<LONG>(width * 2540 / kScreenDpi),
                            static_cast<LONG>(height * 2540 / kScreenDpi), nullptr};
    metafile.handle = SetWinMetaFileBits(static_cast<UINT>(size - layout.wmfOffset), data + layout.wmfOffset,
                                         nullptr, width > 0 ? &picture : nullptr);
  }
  if (!metafile.handle) return false;
  if (width <= 0 || height <= 0) {
    ENHMETAHEADER header = {};
    if (!GetEnhMetaFileHeader(metafile.handle, sizeof header, &header)) return false;
    const RECTL& frame = header.rclFrame;
    width = (static_cast<std::int64_t>(frame.right) - frame.left) * kScreenDpi / 2540;
    height = (static_cast<std::int64_t>(frame.bottom) - frame.top) * kScreenDpi / 2540;
  }
  // A vector picture larger than the metafile budget is played smaller, at
  // a resolution that keeps its printed size.
  double scale = 1;
  FitMetafileSize(width, height, pixelBudget < kMetafilePixelBudget ? pixelBudget : kMetafilePixelBudget, scale);
  if (!Play(metafile.handle, width, height, pixelBudget, out)) return false;
  out.xDotsPerInch = out.yDotsPerInch = kScreenDpi * scale;
  return true;
}
