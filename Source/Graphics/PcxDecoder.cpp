// ZSoft Paintbrush (PCX) pictures, decoded by hand.
//
//   Header (128 bytes, little-endian)
//   | Offset | Size | Meaning                                              |
//   |--------|------|------------------------------------------------------|
//   | 0      | 1    | 0x0A                                                 |
//   | 1      | 1    | version (0, 2, 3, 4, 5)                              |
//   | 2      | 1    | encoding: 1 run-length, 0 none                       |
//   | 3      | 1    | bits per pixel per plane: 1, 2, 4 or 8               |
//   | 4      | 8    | xMin, yMin, xMax, yMax (inclusive)                   |
//   | 12     | 4    | horizontal and vertical dots per inch                |
//   | 16     | 48   | 16-colour palette, R G B                             |
//   | 65     | 1    | planes: 1, 3 or 4                                    |
//   | 66     | 2    | bytes per row of one plane                           |
//   Then the rows, each the planes one after another; with run-length
//   coding a byte 0xC0 | n repeats the next byte n times. An 8-bit
//   one-plane picture carries 256 colours after a 0x0C byte at the end of
//   the file (grey when it is missing).
//
// Limits: bytes per row must cover the width, with at most three bytes of
// padding; the coded rows must be inside
// the file (a short file is refused, one that cannot hold them even at the
// best run-length ratio before anything is allocated); accepted layouts are 1-bit with 1 or
// 4 planes, 2- and 4-bit with 1 plane, 8-bit with 1, 3 or 4 planes.
#include <cstring>
#include <vector>

#include "Graphics/ByteReader.h"
#include "Graphics/PictureDecoders.h"

bool DecodePcx(const std::uint8_t* data, std::size_t size, std::uint64_t pixelBudget, PixelBuffer& out) {
  ByteReader r(data, size);
  const unsigned magic = r.U8();
  r.U8();
  const unsigned encoding = r.U8(), bits = r.U8();
  const unsigned xMin = r.U16le(), yMin = r.U16le(), xMax = r.U16le(), yMax = r.U16le();
  const unsigned xDpi = r.U16le(), yDpi = r.U16le();
  const std::uint8_t* headerPalette = r.Take(48);
  r.U8();
  const unsigned planes = r.U8(), bytesPerLine = r.U16le();
  if (!r.Ok() || !r.Seek(128) || magic != 0x0A || encoding > 1 || xMax < xMin || yMax < yMin) return false;
  const bool layoutOk = (bits == 1 && (planes == 1 || planes == 4)) || ((bits == 2 || bits == 4) && planes == 1) ||
                        (bits == 8 && (planes == 1 || planes == 3 || planes == 4));
  const unsigned width = xMax - xMin + 1, height = yMax - yMin + 1;
  // Rows are padded to an even count (some writers to a multiple of four),
  // never more: a 1-pixel-wide picture of 65,535 bytes per row would cost
  // 65,535 bytes of decoding per pixel.
  const std::uint64_t neededPerLine = (static_cast<std::uint64_t>(width) * bits + 7) / 8;
  if (!layoutOk || bytesPerLine < neededPerLine || bytesPerLine > neededPerLine + 3) return false;
  // A run of two bytes yields at most 63: a file too short for the rows it
  // claims is refused before their room is made.
  const std::uint64_t coded = static_cast<std::uint64_t>(bytesPerLine) * planes * height;
  const std::uint64_t rest = coded % 63;
  const std::uint64_t fewest = encoding == 1 ? coded / 63 * 2 + (rest < 2 ? rest : 2) : coded;
  if (fewest > r.Remaining()) return false;
  if (!out.Allocate(width, height, pixelBudget)) return false;
  out.xDotsPerInch = xDpi;
  out.yDotsPerInch = yDpi;

  // Colours of the indexed layouts.
  std::uint8_t palette[256][3];
  if (bits == 8 && planes == 1) {
    if (size >= 128 + 769 && data[size - 769] == 0x0C) {
      std::memcpy(palette, data + size - 768, 768);
    } else {
      for (unsigned i = 0; i < 256; ++i) palette[i][0] = palette[i][1] = palette[i][2] = static_cast<std::uint8_t>(i);
    }
  } else if (bits == 1 && planes == 1) {
    std::memset(palette, 0, sizeof palette);
    palette[1][0] = palette[1][1] = palette[1][2] = 255;
  } else {
    std::memset(palette, 0, sizeof palette);
    std::memcpy(palette, headerPalette, 48);
  }

  const std::size_t lineBytes = static_cast<std::size_t>(bytesPerLine) * planes;
  std::vector<std::uint8_t> line(lineBytes);
  unsigned pendingCount = 0;
  std::uint8_t pendingValue = 0;
  for (unsigned y = 0; y < height; ++y) {
    // Runs may carry over from one row into the next.
    for (std::size_t i = 0; i < lineBytes; ++i) {
      if (pendingCount == 0) {
        const std::uint8_t b = r.U8();
        if (encoding == 1 && (b & 0xC0) == 0xC0) {
          pendingCount = b & 0x3F;
          pendingValue = r.U8();
        } else {
          pendingCount = 1;
          pendingValue = b;
        }
        if (!r.Ok()) return false;
        if (pendingCount == 0) {
          --i;  // a run of zero bytes yields nothing
          continue;
        }
      }
      line[i] = pendingValue;
      --pendingCount;
    }
    for (unsigned x = 0; x < width; ++x) {
      if (bits == 8 && planes >= 3) {
        const std::uint8_t a = planes == 4 ? line[x + 3 * bytesPerLine] : 255;
        out.SetPixel(x, y, line[x], line[x + bytesPerLine], line[x + 2 * bytesPerLine], a);
        continue;
      }
      unsigned index = 0;
      if (planes == 4) {  // one bit per plane, plane 0 the lowest
        for (unsigned p = 0; p < 4; ++p) index |= ((line[p * bytesPerLine + x / 8] >> (7 - x % 8)) & 1) << p;
      } else {
        const std::size_t bit = static_cast<std::size_t>(x) * bits;
        index = (line[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
      }
      out.SetPixel(x, y, palette[index][0], palette[index][1], palette[index][2]);
    }
  }
  return true;
}
