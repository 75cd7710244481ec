// Loading, resolution and flattening of CPicture; drawing is in
// CPictureDraw_Win32.cpp.
#include "Graphics/CPicture.h"

#include <atomic>
#include <cmath>
#include <cstdio>
#include <new>
#include <vector>

#include "Graphics/PictureDecoders.h"
#include "Graphics/PictureFormat.h"

namespace {

// The whole file, or false when it cannot be read or exceeds the limit.
bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return false;
  bool ok = false;
  if (std::fseek(file, 0, SEEK_END) == 0) {
    const long size = std::ftell(file);
    if (size >= 0 && static_cast<std::uint64_t>(size) <= kMaxPictureFileBytes &&
        std::fseek(file, 0, SEEK_SET) == 0) {
      try {
        bytes.resize(static_cast<std::size_t>(size));
        ok = std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
      } catch (const std::bad_alloc&) {
        ok = false;
      }
    }
  }
  std::fclose(file);
  return ok;
}

}  // namespace

PictureDecoder PictureDecoderOf(int format) {
  struct Row {
    int format;
    PictureDecoder decoder;
  };
  static const Row kDecoders[] = {
      {kFormatBmp, DecodeBmp},   {kFormatGif, DecodeGif},   {kFormatJpeg, DecodeJpeg},
      {kFormatPng, DecodePng},   {kFormatIco, DecodeIco},   {kFormatTiff, DecodeTiff},
      {kFormatTga, DecodeTga},   {kFormatPcx, DecodePcx},   {kFormatWbmp, DecodeWbmp},
      {kFormatMetafile, DecodeMetafile},
  };
  for (const Row& row : kDecoders) {
    if (row.format == format) return row.decoder;
  }
  return nullptr;
}

namespace {

thread_local const std::atomic<bool>* gCancel = nullptr;

}  // namespace

bool DecodeCancelled() { return gCancel != nullptr && gCancel->load(); }

bool CPicture::Load(const std::string& path, int format, const std::atomic<bool>* cancel) {
  Empty();
  std::vector<std::uint8_t> bytes;
  if (!PictureDecoderOf(format) || !ReadWholeFile(path, bytes)) return false;
  gCancel = cancel;
  const bool decoded = Decode(bytes.data(), bytes.size(), format) && !DecodeCancelled();
  gCancel = nullptr;
  if (!decoded) Empty();
  return decoded;
}

bool CPicture::Decode(const std::uint8_t* data, std::size_t size, int format, std::uint64_t pixelBudget) {
  Empty();
  const PictureDecoder decoder = PictureDecoderOf(format);
  if (!decoder || !data || size == 0) return false;
  if (!decoder(data, size, pixelBudget, m_pixels) || m_pixels.IsEmpty()) {
    Empty();
    return false;
  }
  m_transparent = m_pixels.HasTransparency();
  return true;
}

void CPicture::Empty() {
  m_pixels.Clear();
  m_flattened.Clear();
  m_transparent = false;
}

void CPicture::SetBackground(std::uint32_t colorRef) {
  if (colorRef != m_background) m_flattened.Clear();
  m_background = colorRef;
}

int CPicture::Resolution(double dotsPerInch) {
  // NaN and absurd values from a damaged header count as "none stored".
  if (!(dotsPerInch > 0) || dotsPerInch > 1e6) return kDefaultDotsPerInch;
  const long rounded = std::lround(dotsPerInch);
  return rounded < 1 ? 1 : static_cast<int>(rounded);
}

namespace {

std::atomic<std::uint64_t> gFlattenedPixels{0};

}  // namespace

std::uint64_t CPicture::FlattenedPixels() { return gFlattenedPixels.load(); }

void CPicture::Flatten(PixelBuffer& pixels, std::uint32_t background) {
  const unsigned backR = background & 0xFF, backG = (background >> 8) & 0xFF, backB = (background >> 16) & 0xFF;
  for (std::uint32_t y = 0; y < pixels.Height(); ++y) {
    std::uint8_t* p = pixels.Row(y);
    for (std::uint32_t x = 0; x < pixels.Width(); ++x, p += 4) {
      const unsigned a = p[3];
      if (a == 255) continue;
      // Rounded a*c + (255-a)*back over 255.
      p[0] = static_cast<std::uint8_t>((p[0] * a + backB * (255 - a) + 127) / 255);
      p[1] = static_cast<std::uint8_t>((p[1] * a + backG * (255 - a) + 127) / 255);
      p[2] = static_cast<std::uint8_t>((p[2] * a + backR * (255 - a) + 127) / 255);
      p[3] = 255;
    }
  }
  gFlattenedPixels += static_cast<std::uint64_t>(pixels.Width()) * pixels.Height();
}

void CPicture::FlattenTransparency() {
  Flatten(m_pixels, m_background);
  m_flattened.Clear();
  m_transparent = false;
}

const PixelBuffer* CPicture::Flattened() const noexcept {
  if (!m_transparent) return &m_pixels;
  if (m_flattened.IsEmpty()) {
    try {
      m_flattened = m_pixels;
    } catch (...) {  // out of memory: nothing is drawn, nothing escapes
      m_flattened.Clear();
      return nullptr;
    }
    Flatten(m_flattened, m_background);
  }
  return &m_flattened;
}

std::uint32_t CPicture::PixelAt(int x, int y) const {
  if (x < 0 || y < 0 || x >= Width() || y >= Height()) return 0;
  const std::uint8_t* p = m_pixels.Row(static_cast<std::uint32_t>(y)) + x * 4;
  return static_cast<std::uint32_t>(p[3]) << 24 | static_cast<std::uint32_t>(p[2]) << 16 |
         static_cast<std::uint32_t>(p[1]) << 8 | p[0];
}
