// PixelBuffer: the decoded form of every picture, whatever its file format.
// Rows run top to bottom, each pixel four bytes B, G, R, A with straight
// (not premultiplied) alpha: the layout of a top-down 32-bit device
// independent bitmap, so drawing hands the rows to the platform as they are.
//
// Limits every decoder goes through (Allocate is the only way to get rows):
//   1. Width and height are each 1 .. kMaxPictureSide.
//   2. Width x height is at most the pixel budget given to the decoder
//      (kPixelBudget, 100 megapixels, unless a caller asks for less); the
//      check comes before any allocation, so a hostile header costs nothing.
//   3. A failed allocation is a refusal like any other, never an exception.
#ifndef QUILLMATE_GRAPHICS_PIXELBUFFER_H
#define QUILLMATE_GRAPHICS_PIXELBUFFER_H

#include <cstddef>
#include <cstdint>
#include <vector>

constexpr std::uint64_t kPixelBudget = 100000000;
constexpr std::uint32_t kMaxPictureSide = 1u << 20;
// What a picture reports when its file stores no resolution.
constexpr int kDefaultDotsPerInch = 96;

class PixelBuffer {
 public:
  // Makes room for width x height opaque black pixels after checking the
  // limits above; false (and an empty buffer) when they are not met.
  bool Allocate(std::uint64_t width, std::uint64_t height, std::uint64_t pixelBudget);
  void Clear();

  bool IsEmpty() const { return m_width == 0; }
  std::uint32_t Width() const { return m_width; }
  std::uint32_t Height() const { return m_height; }
  std::uint8_t* Row(std::uint32_t y) {
    return reinterpret_cast<std::uint8_t*>(m_pixels.data() + static_cast<std::size_t>(y) * m_width);
  }
  const std::uint8_t* Row(std::uint32_t y) const {
    return reinterpret_cast<const std::uint8_t*>(m_pixels.data() + static_cast<std::size_t>(y) * m_width);
  }
  const std::uint8_t* Bytes() const { return reinterpret_cast<const std::uint8_t*>(m_pixels.data()); }

  void SetPixel(std::uint32_t x, std::uint32_t y, std::uint8_t r, std::uint8_t g, std::uint8_t b,
                std::uint8_t a = 255) {
    std::uint8_t* p = Row(y) + x * 4;
    p[0] = b;
    p[1] = g;
    p[2] = r;
    p[3] = a;
  }

  // Turns the picture as an EXIF orientation tag (1..8) says it was taken,
  // so that the result stands upright; other values change nothing. May
  // refuse (false, buffer unchanged) only when memory runs out.
  bool ApplyOrientation(int orientation);

  // True when some pixel is not fully opaque.
  bool HasTransparency() const;

  // Resolution the file stores in dots per inch, 0 when it stores none.
  double xDotsPerInch = 0;
  double yDotsPerInch = 0;

 private:
  std::uint32_t m_width = 0;
  std::uint32_t m_height = 0;
  // One word per pixel so that the opaque black start is a single fill; the
  // bytes are read and written through Row in B, G, R, A order.
  std::vector<std::uint32_t> m_pixels;
};

#endif  // QUILLMATE_GRAPHICS_PIXELBUFFER_H
