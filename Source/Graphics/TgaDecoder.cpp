// Truevision Targa (TGA) pictures, decoded by hand.
//
//   Header (18 bytes, little-endian)
//   | Offset | Size | Meaning                                              |
//   |--------|------|------------------------------------------------------|
//   | 0      | 1    | length of the image id that follows the header       |
//   | 1      | 1    | colour map present: 0 or 1                           |
//   | 2      | 1    | type: 1 mapped, 2 true colour, 3 grey; +8 with RLE   |
//   | 3      | 2    | first colour map index                               |
//   | 5      | 2    | colour map length                                    |
//   | 7      | 1    | colour map entry bits: 15, 16, 24 or 32              |
//   | 8      | 4    | x and y origin (ignored)                             |
//   | 12     | 2    | width                                                |
//   | 14     | 2    | height                                               |
//   | 16     | 1    | pixel bits: 8 (mapped, grey), 15, 16, 24, 32         |
//   | 17     | 1    | descriptor: bits 0-3 alpha bits, bit 4 right to left,|
//   |          |      | bit 5 top to bottom                                  |
//   Then the id, the colour map, the pixels (B, G, R[, A]; 16-bit pixels
//   are 1-5-5-5 little-endian). RLE packets: a byte n, then for n >= 128 one
//   pixel repeated n - 127 times, else n + 1 literal pixels; packets may run
//   across rows.
//
// Limits: the pixels must be inside the file (a short file is refused, one
// that cannot hold them even at the best run-length ratio before anything
// is allocated);
// indices outside the colour map read as black; alpha is used only when the
// descriptor announces alpha bits.
#include <cstring>
#include <vector>

#include "Graphics/ByteReader.h"
#include "Graphics/PictureDecoders.h"

namespace {

struct Bgra {
  std::uint8_t b = 0, g = 0, r = 0, a = 255;
};

// One stored pixel or colour-map entry of the given bit depth.
Bgra ReadColour(const std::uint8_t* p, unsigned bits, bool useAlpha) {
  Bgra c;
  switch (bits) {
    case 8: c.b = c.g = c.r = p[0]; break;
    case 15:
    case 16: {
      const unsigned v = p[0] | p[1] << 8;
      c.r = static_cast<std::uint8_t>(((v >> 10) & 31) * 255 / 31);
      c.g = static_cast<std::uint8_t>(((v >> 5) & 31) * 255 / 31);
      c.b = static_cast<std::uint8_t>((v & 31) * 255 / 31);
      if (bits == 16 && useAlpha) c.a = (v & 0x8000) ? 255 : 0;
      break;
    }
    default:
      c.b = p[0], c.g = p[1], c.r = p[2];
      if (bits == 32 && useAlpha) c.a = p[3];
  }
  return c;
}

}  // namespace

bool DecodeTga(const std::uint8_t* data, std::size_t size, std::uint64_t pixelBudget, PixelBuffer& out) {
  ByteReader r(data, size);
  const unsigned idLength = r.U8(), mapType = r.U8(), type = r.U8();
  const unsigned mapFirst = r.U16le(), mapLength = r.U16le(), mapBits = r.U8();
  r.Skip(4);
  const unsigned width = r.U16le(), height = r.U16le(), bits = r.U8(), descriptor = r.U8();
  if (!r.Ok() || mapType > 1) return false;
  const unsigned kind = type & 7;
  const bool rle = (type & 8) != 0;
  if ((type & ~11u) != 0 || kind < 1 || kind > 3) return false;
  if (kind == 1 && (mapType != 1 || (bits != 8 && bits != 16))) return false;
  if (kind == 2 && bits != 15 && bits != 16 && bits != 24 && bits != 32) return false;
  if (kind == 3 && bits != 8 && bits != 16) return false;
  if (mapType == 1 && mapBits != 15 && mapBits != 16 && mapBits != 24 && mapBits != 32) return false;
  const bool useAlpha = (descriptor & 15) != 0;
  r.Skip(idLength);

  std::vector<Bgra> map;
  if (mapType == 1) {
    const std::size_t entry = (mapBits + 7) / 8;
    const std::uint8_t* table = r.Take(static_cast<std::size_t>(mapLength) * entry);
    if (!table) return false;
    map.resize(mapFirst + mapLength);
    for (unsigned i = 0; i < mapLength; ++i) map[mapFirst + i] = ReadColour(table + i * entry, mapBits, useAlpha);
  }
  // Each packet of 1 + pixel bytes yields at most 128 pixels: a file too
  // short for the picture it claims is refused before its room is made.
  const std::size_t pixelBytes = (bits + 7) / 8;
  const std::uint64_t pixels = static_cast<std::uint64_t>(width) * height;
  if ((rle ? (pixels + 127) / 128 * (1 + pixelBytes) : pixels * pixelBytes) > r.Remaining()) return false;
  if (!r.Ok() || !out.Allocate(width, height, pixelBudget)) return false;

  auto decode = [&](const std::uint8_t* p) -> Bgra {
    if (kind == 1) {
      const unsigned index = bits == 8 ? p[0] : static_cast<unsigned>(p[0] | p[1] << 8);
      return index < map.size() ? map[index] : Bgra();
    }
    if (kind == 3) {
      Bgra c;
      c.b = c.g = c.r = p[0];  // 16-bit grey is grey plus alpha
      if (bits == 16 && useAlpha) c.a = p[1];
      return c;
    }
    return ReadColour(p, bits, useAlpha);
  };
  const bool rightToLeft = (descriptor & 0x10) != 0, topDown = (descriptor & 0x20) != 0;
  const std::uint64_t total = static_cast<std::uint64_t>(width) * height;
  std::uint64_t done = 0;
  auto put = [&](const Bgra& c) {
    const std::uint32_t row = static_cast<std::uint32_t>(done / width), col = static_cast<std::uint32_t>(done % width);
    out.SetPixel(rightToLeft ? width - 1 - col : col, topDown ? row : height - 1 - row, c.r, c.g, c.b, c.a);
    ++done;
  };
  while (done < total) {
    if (!rle) {
      const std::uint8_t* p = r.Take(pixelBytes);
      if (!p) return false;
      put(decode(p));
      continue;
    }
    const unsigned packet = r.U8();
    const unsigned count = (packet & 127) + 1;
    if (packet & 128) {
      const std::uint8_t* p = r.Take(pixelBytes);
      if (!p) return false;
      const Bgra c = decode(p);
      for (unsigned i = 0; i < count && done < total; ++i) put(c);
    } else {
      for (unsigned i = 0; i < count && done < total; ++i) {
        const std::uint8_t* p = r.Take(pixelBytes);
        if (!p) return false;
        put(decode(p));
      }
    }
    if (!r.Ok()) return false;
  }
  return true;
}
