// Wireless bitmaps (WBMP, type 0), decoded by hand.
//
//   | Field        | Size     | Meaning                                   |
//   |--------------|----------|-------------------------------------------|
//   | type         | varint   | 0: black and white, no compression        |
//   | fixed header | 1        | 0 (no extension headers)                  |
//   | width        | varint   | pixels                                    |
//   | height       | varint   | pixels                                    |
//   | rows         | h x ceil(w/8) | one bit per pixel, high bit first,   |
//   |              |          | 1 white, 0 black                          |
//   A varint holds 7 bits per byte, high group first, bit 7 set on every
//   byte but the last.
//
// Limits: varints of at most 4 bytes; the rows must be inside the file.
#include "Graphics/ByteReader.h"
#include "Graphics/PictureDecoders.h"

namespace {

bool ReadVarint(ByteReader& r, std::uint32_t& value) {
  value = 0;
  for (int i = 0; i < 4; ++i) {
    const std::uint8_t b = r.U8();
    if (!r.Ok()) return false;
    value = value << 7 | (b & 0x7F);
    if (!(b & 0x80)) return true;
  }
  return false;
}

}  // namespace

bool DecodeWbmp(const std::uint8_t* data, std::size_t size, std::uint64_t pixelBudget, PixelBuffer& out) {
  ByteReader r(data, size);
  std::uint32_t type = 0, width = 0, height = 0;
  if (!ReadVarint(r, type) || type != 0 || r.U8() != 0 || !r.Ok()) return false;
  if (!ReadVarint(r, width) || !ReadVarint(r, height)) return false;
  const std::uint64_t stride = (static_cast<std::uint64_t>(width) + 7) / 8;
  if (stride * height > r.Remaining()) return false;
  if (!out.Allocate(width, height, pixelBudget)) return false;
  const std::uint8_t* rows = r.Data() + r.Position();
  for (std::uint32_t y = 0; y < height; ++y) {
    for (std::uint32_t x = 0; x < width; ++x) {
      const std::uint8_t v = (rows[y * stride + x / 8] >> (7 - x % 8)) & 1 ? 255 : 0;
      out.SetPixel(x, y, v, v, v);
    }
  }
  return true;
}
