// PNG pictures through libpng. libpng reports errors by longjmp to the
// buffer set with setjmp(png_jmpbuf(...)); its default handlers print to
// stderr, ours are silent. Every format variant (palette, grey, 16-bit,
// tRNS, interlaced) is turned into 8-bit B, G, R, A rows by libpng's own
// transformations.
//
// Limits: libpng's own width and height limits are set to PixelBuffer's,
// ancillary chunks are capped in number and size, the pixel budget is
// checked after the header and before any row is read; a file that ends
// before its last row is refused. libpng sizes a chunk's buffer from the
// length the chunk declares, before reading it, so a 100-byte file can ask
// for 2 GB: libpng's allocations go through our own, which refuses any one
// larger than a real picture needs (its widest row, 2^20 pixels of 16-bit
// RGBA, is 8 MB). The pHYs chunk (pixels per metre) gives the resolution;
// other units mean none stored.
#include <csetjmp>
#include <cstdlib>
#include <cstring>

#include <png.h>

#include "Graphics/PictureDecoders.h"

namespace {

struct PngSource {
  const std::uint8_t* data;
  std::size_t size;
  std::size_t position;
};

void ReadData(png_structp png, png_bytep target, png_size_t length) {
  PngSource* source = static_cast<PngSource*>(png_get_io_ptr(png));
  if (length > source->size - source->position) png_error(png, "truncated");
  std::memcpy(target, source->data + source->position, length);
  source->position += length;
}

void ErrorExit(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void Warning(png_structp, png_const_charp) {}

constexpr png_alloc_size_t kMaxAllocation = 32u << 20;
png_voidp Allocate(png_structp, png_alloc_size_t size) { return size <= kMaxAllocation ? std::malloc(size) : nullptr; }
void Release(png_structp, png_voidp block) { std::free(block); }

// Kept apart from DecodePng so that no object with a destructor lives in the
// frame that setjmp returns to.
bool ReadPicture(png_structp png, png_infop info, PngSource& source, std::uint64_t pixelBudget, PixelBuffer& out) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_read_fn(png, &source, ReadData);
  png_set_user_limits(png, kMaxPictureSide, kMaxPictureSide);
  png_set_chunk_cache_max(png, 1000);
  png_set_chunk_malloc_max(png, 8u * 1024 * 1024);
  png_read_info(png, info);
  png_uint_32 width = 0, height = 0;
  int depth = 0, colourType = 0, interlace = 0;
  png_get_IHDR(png, info, &width, &height, &depth, &colourType, &interlace, nullptr, nullptr);
  if (static_cast<std::uint64_t>(width) * height > pixelBudget) return false;

  png_set_expand(png);  // palette to RGB, low-bit grey to 8, tRNS to alpha
  png_set_scale_16(png);
  if (!(colourType & PNG_COLOR_MASK_COLOR)) png_set_gray_to_rgb(png);
  png_set_bgr(png);
  if (!(colourType & PNG_COLOR_MASK_ALPHA) && !png_get_valid(png, info, PNG_INFO_tRNS)) {
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
  }
  const int passes = png_set_interlace_handling(png);
  png_read_update_info(png, info);
  if (png_get_rowbytes(png, info) != static_cast<png_size_t>(width) * 4) return false;
  if (!out.Allocate(width, height, pixelBudget)) return false;

  png_uint_32 xPerMetre = 0, yPerMetre = 0;
  int unit = 0;
  if (png_get_pHYs(png, info, &xPerMetre, &yPerMetre, &unit) && unit == PNG_RESOLUTION_METER) {
    out.xDotsPerInch = xPerMetre * 0.0254;
    out.yDotsPerInch = yPerMetre * 0.0254;
  }
  // Interlaced passes fill in rows already holding the earlier passes.
  for (int pass = 0; pass < passes; ++pass) {
    for (png_uint_32 y = 0; y < height; ++y) png_read_row(png, out.Row(y), nullptr);
  }
  return true;
}

}  // namespace

bool DecodePng(const std::uint8_t* data, std::size_t size, std::uint64_t pixelBudget, PixelBuffer& out) {
  if (size < 8 || png_sig_cmp(data, 0, 8) != 0) return false;
  png_structp png = png_create_read_struct_2(PNG_LIBPNG_VER_STRING, nullptr, ErrorExit, Warning, nullptr,
                                              Allocate, Release);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    return false;
  }
  PngSource source{data, size, 0};
  const bool ok = ReadPicture(png, info, source, pixelBudget, out);
  png_destroy_read_struct(&png, &info, nullptr);
  return ok;
}
