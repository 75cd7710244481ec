// Allocation under the pixel budget and the EXIF turns of a decoded picture.
#include "Graphics/PixelBuffer.h"

#include <new>
#include <stdexcept>
#include <utility>

namespace {

// B, G, R = 0 and A = 255 in memory on the little-endian machines this
// runs on.
constexpr std::uint32_t kOpaqueBlack = 0xFF000000u;

}  // namespace

bool PixelBuffer::Allocate(std::uint64_t width, std::uint64_t height, std::uint64_t pixelBudget) {
  Clear();
  if (width == 0 || height == 0 || width > kMaxPictureSide || height > kMaxPictureSide ||
      width * height > pixelBudget || width * height > SIZE_MAX / 4) {
    return false;
  }
  try {
    m_pixels.assign(static_cast<std::size_t>(width * height), kOpaqueBlack);
  } catch (const std::bad_alloc&) {
    return false;
  } catch (const std::length_error&) {
    return false;
  }
  m_width = static_cast<std::uint32_t>(width);
  m_height = static_cast<std::uint32_t>(height);
  return true;
}

void PixelBuffer::Clear() {
  std::vector<std::uint32_t>().swap(m_pixels);
  m_width = 0;
  m_height = 0;
  xDotsPerInch = 0;
  yDotsPerInch = 0;
}

bool PixelBuffer::HasTransparency() const {
  const std::uint8_t* bytes = Bytes();
  for (std::size_t i = 3; i < m_pixels.size() * 4; i += 4) {
    if (bytes[i] != 255) return true;
  }
  return false;
}

bool PixelBuffer::ApplyOrientation(int orientation) {
  if (orientation < 2 || orientation > 8 || IsEmpty()) return true;
  const std::uint32_t w = m_width, h = m_height;
  const bool swaps = orientation >= 5;
  const std::uint32_t outW = swaps ? h : w, outH = swaps ? w : h;
  std::vector<std::uint32_t> turned;
  try {
    turned.resize(m_pixels.size());
  } catch (const std::bad_alloc&) {
    return false;
  }
  // For each displayed pixel, the stored pixel it shows.
  for (std::uint32_t dy = 0; dy < outH; ++dy) {
    for (std::uint32_t dx = 0; dx < outW; ++dx) {
      std::uint32_t sx = dx, sy = dy;
      switch (orientation) {
        case 2: sx = w - 1 - dx; break;
        case 3: sx = w - 1 - dx; sy = h - 1 - dy; break;
        case 4: sy = h - 1 - dy; break;
        case 5: sx = dy; sy = dx; break;
        case 6: sx = dy; sy = h - 1 - dx; break;
        case 7: sx = w - 1 - dy; sy = h - 1 - dx; break;
        case 8: sx = w - 1 - dy; sy = dx; break;
      }
      turned[static_cast<std::size_t>(dy) * outW + dx] = m_pixels[static_cast<std::size_t>(sy) * w + sx];
    }
  }
  m_pixels.swap(turned);
  m_width = outW;
  m_height = outH;
  if (swaps) std::swap(xDotsPerInch, yDotsPerInch);
  return true;
}
