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
// Limits: the size is bounded by the pixel budget before the bitmap is
// made; the records themselves are parsed by the platform's metafile code.
#include <windows.h>

#include <cstring>

#include "Graphics/ByteReader.h"
#include "Graphics/PictureDecoders.h"

namespace {

constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr int kScreenDpi = 96;

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
  if (size < 44 || size > 0x7FFFFFFF) return false;
  ByteReader r(data, size);
  MetafileHandle metafile;
  std::int64_t width = 0, height = 0;
  if (r.U32le() == 1 && std::memcmp(data + 40, " EMF", 4) == 0) {
    metafile.handle = SetEnhMetaFileBits(static_cast<UINT>(size), data);
  } else {
    r.Seek(0);
    METAFILEPICT picture = {MM_ANISOTROPIC, 0, 0, nullptr};
    const std::uint8_t* standard = data;
    std::size_t standardSize = size;
    if (r.U32le() == kPlaceableKey) {
      r.Skip(2);
      const std::int16_t left = static_cast<std::int16_t>(r.U16le()), top = static_cast<std::int16_t>(r.U16le());
      const std::int16_t right = static_cast<std::int16_t>(r.U16le()), bottom = static_cast<std::int16_t>(r.U16le());
      const std::uint16_t unitsPerInch = r.U16le();
      if (unitsPerInch == 0) return false;
      width = (static_cast<std::int64_t>(right) - left) * kScreenDpi / unitsPerInch;
      height = (static_cast<std::int64_t>(bottom) - top) * kScreenDpi / unitsPerInch;
      if (width < 0) width = -width;
      if (height < 0) height = -height;
      picture.xExt = static_cast<LONG>(width * 2540 / kScreenDpi);
      picture.yExt = static_cast<LONG>(height * 2540 / kScreenDpi);
      standard = data + 22;
      standardSize = size - 22;
    }
    metafile.handle = SetWinMetaFileBits(static_cast<UINT>(standardSize), standard, nullptr,
                                         width > 0 ? &picture : nullptr);
  }
  if (!metafile.handle) return false;
  if (width <= 0 || height <= 0) {
    ENHMETAHEADER header = {};
    if (!GetEnhMetaFileHeader(metafile.handle, sizeof header, &header)) return false;
    const RECTL& frame = header.rclFrame;
    width = (static_cast<std::int64_t>(frame.right) - frame.left) * kScreenDpi / 2540;
    height = (static_cast<std::int64_t>(frame.bottom) - frame.top) * kScreenDpi / 2540;
    if (width <= 0 || height <= 0) {
      width = static_cast<std::int64_t>(header.rclBounds.right) - header.rclBounds.left + 1;
      height = static_cast<std::int64_t>(header.rclBounds.bottom) - header.rclBounds.top + 1;
    }
  }
  return Play(metafile.handle, width, height, pixelBudget, out);
}
