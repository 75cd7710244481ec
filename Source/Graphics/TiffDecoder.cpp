// TIFF pictures through libtiff, read from memory through client
// procedures. libtiff's RGBA interface turns every photometric layout it
// knows (grey, palette, RGB, CMYK, YCbCr, 16-bit, tiled or striped, any
// compression it was built with) into 8-bit RGBA; only the first page is
// read.
//
// Limits: errors and warnings go to handlers of this reader only (never to
// stderr, never ending the process), and any error refuses the picture; libtiff refuses any single allocation
// above kMaxTiffAllocation; the pixel budget is checked before the raster is
// allocated; a strip or tile that cannot be read stops the decoding and the
// picture is refused. libtiff hands back premultiplied alpha, which is
// undone here. The resolution comes from XResolution and YResolution with
// ResolutionUnit 2 (inch) or 3 (centimetre).
#include <cstdarg>
#include <cstring>

#include <tiffio.h>

#include "Graphics/PictureDecoders.h"

namespace {

constexpr tmsize_t kMaxTiffAllocation = 256 * 1024 * 1024;

struct TiffSource {
  const std::uint8_t* data;
  toff_t size;
  toff_t position;
};

tmsize_t ReadProc(thandle_t handle, void* buffer, tmsize_t length) {
  TiffSource* source = static_cast<TiffSource*>(handle);
  if (length <= 0 || source->position >= source->size) return 0;
  const toff_t available = source->size - source->position;
  const toff_t count = static_cast<toff_t>(length) < available ? static_cast<toff_t>(length) : available;
  std::memcpy(buffer, source->data + source->position, static_cast<std::size_t>(count));
  source->position += count;
  return static_cast<tmsize_t>(count);
}

tmsize_t WriteProc(thandle_t, void*, tmsize_t) { return 0; }

toff_t SeekProc(thandle_t handle, toff_t offset, int whence) {
  TiffSource* source = static_cast<TiffSource*>(handle);
  toff_t base = 0;
  if (whence == SEEK_CUR) base = source->position;
  if (whence == SEEK_END) base = source->size;
  if (offset > ~static_cast<toff_t>(0) - base) return static_cast<toff_t>(-1);
  source->position = base + offset;  // beyond the end reads nothing
  return source->position;
}

int CloseProc(thandle_t) { return 0; }
toff_t SizeProc(thandle_t handle) { return static_cast<TiffSource*>(handle)->size; }

int MapProc(thandle_t handle, void** base, toff_t* size) {
  TiffSource* source = static_cast<TiffSource*>(handle);
  *base = const_cast<std::uint8_t*>(source->data);
  *size = source->size;
  return 1;
}
void UnmapProc(thandle_t, void*, toff_t) {}

// Returning 1 keeps libtiff's process-wide handlers (stderr) out of it.
// Any error refuses the picture. libtiff also goes on, with a mere warning,
// when a tag's data lies beyond the end of a cut file (a colour map cut
// short turns the picture grey): those warnings refuse it too.
int NoteError(TIFF*, void* failed, const char*, const char*, va_list) {
  *static_cast<bool*>(failed) = true;
  return 1;
}
int NoteWarning(TIFF*, void* failed, const char*, const char* format, va_list) {
  if (format && std::strstr(format, "IO error")) *static_cast<bool*>(failed) = true;
  return 1;
}

double DotsPerInch(TIFF* tiff, ttag_t tag, std::uint16_t unit) {
  float value = 0;
  if (!TIFFGetField(tiff, tag, &value) || !(value > 0)) return 0;
  return unit == RESUNIT_INCH ? value : unit == RESUNIT_CENTIMETER ? value * 2.54 : 0;
}

bool ReadFirstPage(TIFF* tiff, std::uint64_t pixelBudget, PixelBuffer& out) {
  std::uint32_t width = 0, height = 0;
  if (!TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &width) || !TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &height)) {
    return false;
  }
  if (static_cast<std::uint64_t>(width) * height > pixelBudget) return false;
  char message[1024];
  if (!TIFFRGBAImageOK(tiff, message)) return false;
  if (!out.Allocate(width, height, pixelBudget)) return false;
  // The buffer's bytes serve as libtiff's 32-bit raster: R, G, B, A in
  // memory on the little-endian machines this runs on.
  std::uint32_t* raster = reinterpret_cast<std::uint32_t*>(out.Row(0));
  if (!TIFFReadRGBAImageOriented(tiff, width, height, raster, ORIENTATION_TOPLEFT, 1)) return false;
  for (std::uint32_t y = 0; y < height; ++y) {
    std::uint8_t* p = out.Row(y);
    for (std::uint32_t x = 0; x < width; ++x, p += 4) {
      std::uint8_t r = p[0], b = p[2];
      const unsigned a = p[3];
      if (a != 255 && a != 0) {
        auto undo = [a](unsigned c) { return static_cast<std::uint8_t>(c >= a ? 255 : (c * 255 + a / 2) / a); };
        r = undo(r), b = undo(b), p[1] = undo(p[1]);
      }
      p[0] = b;
      p[2] = r;
    }
  }
  std::uint16_t unit = RESUNIT_INCH;
  TIFFGetFieldDefaulted(tiff, TIFFTAG_RESOLUTIONUNIT, &unit);
  out.xDotsPerInch = DotsPerInch(tiff, TIFFTAG_XRESOLUTION, unit);
  out.yDotsPerInch = DotsPerInch(tiff, TIFFTAG_YRESOLUTION, unit);
  return true;
}

}  // namespace

bool DecodeTiff(const std::uint8_t* data, std::size_t size, std::uint64_t pixelBudget, PixelBuffer& out) {
  TiffSource source{data, size, 0};
  TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
  if (!options) return false;
  TIFFOpenOptionsSetMaxSingleMemAlloc(options, kMaxTiffAllocation);
  bool failed = false;
  TIFFOpenOptionsSetErrorHandlerExtR(options, NoteError, &failed);
  TIFFOpenOptionsSetWarningHandlerExtR(options, NoteWarning, &failed);
  TIFF* tiff = TIFFClientOpenExt("picture", "r", &source, ReadProc, WriteProc, SeekProc, CloseProc, SizeProc,
                                 MapProc, UnmapProc, options);
  TIFFOpenOptionsFree(options);
  if (!tiff) return false;
  const bool ok = !failed && ReadFirstPage(tiff, pixelBudget, out);
  TIFFClose(tiff);
  return ok && !failed;
}
