// Windows bitmaps (BMP) and the bitmaps inside icons, decoded by hand.
//
//   File header (14 bytes, little-endian)
//   | Offset | Size | Meaning                                              |
//   |--------|------|------------------------------------------------------|
//   | 0      | 2    | "BM"                                                 |
//   | 2      | 4    | file size (not trusted)                              |
//   | 6      | 4    | reserved                                             |
//   | 10     | 4    | offset of the pixels from the start of the file      |
//
//   Info header, at 14 (at the start of an icon entry)
//   | 0      | 4    | header size: 12 (OS/2 core) or 40..124               |
//   | 4      | 2/4  | width (core: 16 bits unsigned, else 32 bits signed)  |
//   | 6/8    | 2/4  | height; negative means rows stored top down          |
//   |        | 2    | planes (ignored)                                     |
//   |        | 2    | bits per pixel: 1, 2, 4, 8, 16, 24 or 32             |
//   | 16     | 4    | compression: 0 none, 1 RLE8, 2 RLE4, 3 bit fields,   |
//   |        |      | 6 bit fields with alpha                              |
//   | 24, 28 | 4+4  | horizontal and vertical pixels per metre             |
//   | 32     | 4    | palette entries used (0: 2^bits)                     |
//   | 40     | 16   | red, green, blue, alpha masks (headers of 52+ bytes) |
//   Then, with a 40-byte header and bit-field compression, 3 or 4 masks;
//   then the palette (4 bytes B, G, R, 0 per entry; 3 bytes in core
//   headers), then the rows, each padded to 4 bytes, bottom up.
//
// Limits: width and height within PixelBuffer's; the rows, or the RLE
// stream up to its end marker, must lie inside the file (a short file is
// refused); palette indices beyond the palette read as black; RLE is only
// accepted bottom up, as the format defines it. Icons: the stored height is
// twice the picture's and a one-bit AND mask follows the rows (1 =
// transparent); a 32-bit icon with any non-zero alpha byte uses those
// instead.
#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "Graphics/ByteReader.h"
#include "Graphics/PictureDecoders.h"

namespace {

constexpr double kMetresPerInch = 0.0254;

enum : std::uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kAlphaBitFields = 6 };

// One colour channel of a bit-field pixel, scaled to 0..255.
struct Channel {
  std::uint32_t mask = 0;
  unsigned shift = 0;
  std::uint32_t max = 0;

  explicit Channel(std::uint32_t m = 0) : mask(m) {
    if (!mask) return;
    while (!((mask >> shift) & 1)) ++shift;
    max = mask >> shift;
  }
  std::uint8_t Of(std::uint32_t pixel, std::uint8_t absent) const {
    if (!max) return absent;
    const std::uint64_t v = (pixel & mask) >> shift;
    return static_cast<std::uint8_t>((v * 255 + max / 2) / max);
  }
};

struct Palette {
  std::uint8_t bgr[256][3] = {};
  std::uint32_t count = 0;
};

struct Dib {
  std::uint32_t headerSize = 0;
  std::int64_t width = 0, height = 0;
  bool topDown = false;
  std::uint32_t bits = 0, compression = 0, colorsUsed = 0;
  std::uint32_t masks[4] = {};
  double xDpi = 0, yDpi = 0;
};

bool ReadHeader(ByteReader& r, Dib& dib) {
  dib.headerSize = r.U32le();
  if (dib.headerSize == 12) {
    dib.width = r.U16le();
    dib.height = r.U16le();
    r.U16le();
    dib.bits = r.U16le();
  } else if (dib.headerSize >= 40 && dib.headerSize <= 124) {
    dib.width = r.I32le();
    dib.height = r.I32le();
    r.U16le();
    dib.bits = r.U16le();
    dib.compression = r.U32le();
    r.U32le();
    const std::int32_t xPerMetre = r.I32le(), yPerMetre = r.I32le();
    dib.colorsUsed = r.U32le();
    r.U32le();
    if (xPerMetre > 0) dib.xDpi = xPerMetre * kMetresPerInch;
    if (yPerMetre > 0) dib.yDpi = yPerMetre * kMetresPerInch;
    if (dib.headerSize >= 52) {
      for (int i = 0; i < (dib.headerSize >= 56 ? 4 : 3); ++i) dib.masks[i] = r.U32le();
    }
    if (!r.Seek(dib.headerSize)) return false;
    if (dib.headerSize == 40 && (dib.compression == kBitFields || dib.compression == kAlphaBitFields)) {
      for (int i = 0; i < (dib.compression == kAlphaBitFields ? 4 : 3); ++i) dib.masks[i] = r.U32le();
    }
  } else {
    return false;
  }
  if (dib.height < 0) {
    dib.topDown = true;
    dib.height = -dib.height;
  }
  if (dib.width <= 0) return false;
  switch (dib.compression) {
    case kRgb: return dib.bits == 1 || dib.bits == 2 || dib.bits == 4 || dib.bits == 8 || dib.bits == 16 ||
                      dib.bits == 24 || dib.bits == 32;
    case kRle8: return dib.bits == 8 && !dib.topDown;
    case kRle4: return dib.bits == 4 && !dib.topDown;
    case kBitFields:
    case kAlphaBitFields: return dib.bits == 16 || dib.bits == 32;
    default: return false;
  }
}

bool ReadPalette(ByteReader& r, const Dib& dib, Palette& palette) {
  if (dib.bits > 8) return true;
  const std::uint32_t full = 1u << dib.bits;
  palette.count = dib.colorsUsed && dib.colorsUsed < full ? dib.colorsUsed : full;
  const std::size_t entry = dib.headerSize == 12 ? 3 : 4;
  for (std::uint32_t i = 0; i < palette.count; ++i) {
    const std::uint8_t* p = r.Take(entry);
    if (!p) return false;
    std::memcpy(palette.bgr[i], p, 3);
  }
  return true;
}

void PutIndex(PixelBuffer& out, std::uint32_t x, std::uint32_t y, std::uint32_t index, const Palette& palette) {
  if (index < palette.count) {
    out.SetPixel(x, y, palette.bgr[index][2], palette.bgr[index][1], palette.bgr[index][0]);
  } else {
    out.SetPixel(x, y, 0, 0, 0);
  }
}

// Uncompressed rows (and bit fields).
bool ReadRows(const std::uint8_t* rows, const Dib& dib, const Palette& palette, PixelBuffer& out) {
  const std::uint32_t w = out.Width(), h = out.Height();
  const std::size_t stride = (static_cast<std::size_t>(w) * dib.bits + 31) / 32 * 4;
  Channel red(0x00FF0000), green(0x0000FF00), blue(0x000000FF), alpha;
  if (dib.bits == 16) red = Channel(0x7C00), green = Channel(0x03E0), blue = Channel(0x001F);
  if (dib.compression == kBitFields || dib.compression == kAlphaBitFields) {
    red = Channel(dib.masks[0]), green = Channel(dib.masks[1]), blue = Channel(dib.masks[2]);
    alpha = Channel(dib.masks[3]);
  }
  for (std::uint32_t row = 0; row < h; ++row) {
    const std::uint8_t* src = rows + row * stride;
    const std::uint32_t y = dib.topDown ? row : h - 1 - row;
    for (std::uint32_t x = 0; x < w; ++x) {
      if (dib.bits <= 8) {
        const std::size_t bit = static_cast<std::size_t>(x) * dib.bits;
        const unsigned shift = 8 - dib.bits - static_cast<unsigned>(bit % 8);
        PutIndex(out, x, y, (src[bit / 8] >> shift) & ((1u << dib.bits) - 1), palette);
      } else if (dib.bits == 24) {
        const std::uint8_t* p = src + x * 3;
        out.SetPixel(x, y, p[2], p[1], p[0]);
      } else {
        const std::uint8_t* p = src + x * (dib.bits / 8);
        const std::uint32_t v = dib.bits == 16 ? static_cast<std::uint32_t>(p[0] | p[1] << 8)
                                               : static_cast<std::uint32_t>(p[0] | p[1] << 8 | p[2] << 16 |
                                                                            static_cast<std::uint32_t>(p[3]) << 24);
        out.SetPixel(x, y, red.Of(v, 0), green.Of(v, 0), blue.Of(v, 0), alpha.Of(v, 255));
      }
    }
  }
  return true;
}

// RLE8 and RLE4: runs and escapes up to the end-of-bitmap marker. Pixels
// the stream skips keep palette entry 0.
bool ReadRle(ByteReader& r, const Dib& dib, const Palette& palette, PixelBuffer& out) {
  const std::uint32_t w = out.Width(), h = out.Height();
  std::vector<std::uint8_t> indices;
  try {
    indices.assign(static_cast<std::size_t>(w) * h, 0);
  } catch (const std::bad_alloc&) {
    return false;
  }
  const bool four = dib.compression == kRle4;
  std::uint64_t x = 0, y = 0;  // y counts rows from the bottom
  auto put = [&](std::uint8_t index) {
    if (x < w && y < h) indices[static_cast<std::size_t>(y) * w + x] = index;
    ++x;
  };
  for (;;) {
    const std::uint8_t count = r.U8(), value = r.U8();
    if (!r.Ok()) return false;
    if (count > 0) {
      for (unsigned i = 0; i < count && x < w; ++i) put(four ? (i % 2 ? value & 15 : value >> 4) : value);
    } else if (value == 0) {
      x = 0;
      ++y;
    } else if (value == 1) {
      break;
    } else if (value == 2) {
      x += r.U8();
      y += r.U8();
    } else {
      const std::size_t bytes = four ? (value + 1u) / 2 : value;
      const std::uint8_t* run = r.Take(bytes + (bytes & 1));
      if (!run) return false;
      for (unsigned i = 0; i < value; ++i) put(four ? (i % 2 ? run[i / 2] & 15 : run[i / 2] >> 4) : run[i]);
    }
    if (!r.Ok()) return false;
    if (y >= h) break;  // beyond the last row nothing more can show
  }
  for (std::uint32_t row = 0; row < h; ++row) {
    for (std::uint32_t col = 0; col < w; ++col) {
      PutIndex(out, col, h - 1 - row, indices[static_cast<std::size_t>(row) * w + col], palette);
    }
  }
  return true;
}

// The AND mask behind an icon's rows; a missing mask leaves it opaque. A
// 32-bit icon whose alpha bytes are not all zero keeps them instead.
void ApplyIconMask(const std::uint8_t* data, std::size_t size, std::size_t maskOffset, std::uint32_t bits,
                   PixelBuffer& out) {
  const std::uint32_t w = out.Width(), h = out.Height();
  if (bits == 32) {
    for (std::uint32_t y = 0; y < h; ++y) {
      for (std::uint32_t x = 0; x < w; ++x) {
        if (out.Row(y)[x * 4 + 3] != 0) return;
      }
    }
  }
  const std::size_t stride = (static_cast<std::size_t>(w) + 31) / 32 * 4;
  const bool haveMask = maskOffset <= size && stride * h <= size - maskOffset;
  for (std::uint32_t row = 0; row < h; ++row) {
    std::uint8_t* line = out.Row(h - 1 - row);
    for (std::uint32_t x = 0; x < w; ++x) {
      const bool transparent = haveMask && (data[maskOffset + row * stride + x / 8] >> (7 - x % 8)) & 1;
      line[x * 4 + 3] = transparent ? 0 : 255;
    }
  }
}

}  // namespace

bool DecodeDib(const std::uint8_t* data, std::size_t size, std::size_t pixelOffset, bool iconMask,
               std::uint64_t pixelBudget, PixelBuffer& out) {
  ByteReader r(data, size);
  Dib dib;
  Palette palette;
  if (!ReadHeader(r, dib) || !ReadPalette(r, dib, palette) || !r.Ok()) return false;
  if (iconMask) {
    dib.height /= 2;
    // 32-bit icons keep their alpha in the fourth byte.
    if (dib.bits == 32 && dib.compression == kRgb) {
      dib.compression = kAlphaBitFields;
      dib.masks[0] = 0x00FF0000, dib.masks[1] = 0x0000FF00, dib.masks[2] = 0x000000FF, dib.masks[3] = 0xFF000000;
    }
  }
  if (dib.width > kMaxPictureSide || dib.height > kMaxPictureSide) return false;
  if (pixelOffset != 0 && !r.Seek(pixelOffset)) return false;
  const bool rle = dib.compression == kRle8 || dib.compression == kRle4;
  const std::uint64_t stride = (static_cast<std::uint64_t>(dib.width) * dib.bits + 31) / 32 * 4;
  const std::uint64_t bytes = stride * static_cast<std::uint64_t>(dib.height);
  if (!rle && bytes > r.Remaining()) return false;  // before any room is made
  if (!out.Allocate(static_cast<std::uint64_t>(dib.width), static_cast<std::uint64_t>(dib.height), pixelBudget)) {
    return false;
  }
  out.xDotsPerInch = dib.xDpi;
  out.yDotsPerInch = dib.yDpi;
  if (rle) return ReadRle(r, dib, palette, out);

  if (!ReadRows(data + r.Position(), dib, palette, out)) return false;
  if (iconMask) ApplyIconMask(data, size, r.Position() + static_cast<std::size_t>(bytes), dib.bits, out);
  return true;
}

bool DecodeBmp(const std::uint8_t* data, std::size_t size, std::uint64_t pixelBudget, PixelBuffer& out) {
  ByteReader r(data, size);
  const std::uint16_t magic = r.U16le();
  r.Skip(8);
  const std::uint32_t pixelOffset = r.U32le();
  if (!r.Ok() || magic != 0x4D42 || pixelOffset < 14 + 12 || pixelOffset > size) return false;
  return DecodeDib(data + 14, size - 14, pixelOffset - 14, false, pixelBudget, out);
}

bool DecodeIco(const std::uint8_t* data, std::size_t size, std::uint64_t pixelBudget, PixelBuffer& out) {
  //   Icon directory: reserved u16 = 0 | type u16 = 1 (icon) or 2 (cursor) |
  //   count u16, then per entry 16 bytes: width u8 (0 = 256) | height u8 |
  //   colours u8 | reserved u8 | planes u16 | bits u16 | bytes u32 | offset u32.
  // The largest entry (then the deepest) is shown; it holds a bitmap as
  // above or a whole PNG file.
  ByteReader r(data, size);
  const std::uint16_t reserved = r.U16le(), type = r.U16le(), count = r.U16le();
  if (!r.Ok() || reserved != 0 || (type != 1 && type != 2) || count == 0) return false;
  std::uint32_t bestArea = 0, bestBits = 0, bestBytes = 0, bestOffset = 0;
  bool found = false;
  for (unsigned i = 0; i < count; ++i) {
    const std::uint32_t w = r.U8(), h = r.U8();
    r.Skip(4);
    const std::uint32_t bits = r.U16le(), bytes = r.U32le(), offset = r.U32le();
    if (!r.Ok()) return false;
    if (offset > size || bytes > size - offset || bytes < 12) continue;
    const std::uint32_t area = (w ? w : 256) * (h ? h : 256);
    if (!found || area > bestArea || (area == bestArea && bits > bestBits)) {
      found = true;
      bestArea = area, bestBits = bits, bestBytes = bytes, bestOffset = offset;
    }
  }
  if (!found) return false;
  const std::uint8_t* entry = data + bestOffset;
  static const std::uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  if (bestBytes >= 8 && std::memcmp(entry, kPngSignature, 8) == 0) {
    return DecodePng(entry, bestBytes, pixelBudget, out);
  }
  return DecodeDib(entry, bestBytes, 0, true, pixelBudget, out);
}
