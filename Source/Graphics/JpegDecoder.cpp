// JPEG pictures through libjpeg-turbo's libjpeg interface. libjpeg reports
// fatal errors by calling error_exit, which by default ends the process:
// here it jumps back to the decoder with longjmp, after which the
// decompressor is destroyed and nothing else is touched.
//
// Besides the pixels the decoder reads:
//   - the resolution of the JFIF header (units 1 dots per inch, 2 per cm);
//   - the EXIF orientation (APP1 "Exif\0\0", a TIFF header "II*\0" or
//     "MM\0*", the first IFD's tag 0x0112), applied so that photos stand
//     upright.
//
// Limits: the pixel budget is checked after the header and before anything
// is decompressed; a stream that ends early is refused (libjpeg would fill
// it with grey); progressive streams of more than kMaxScans scans are
// refused, since each scan costs a pass over the whole picture (a standard
// progression has ten; 990 scans of a large photo took a minute). A load
// that is cancelled (DecodeCancelled) stops at the next progress call. CMYK and
// YCCK pictures are converted to RGB (with the inverted ink values that
// Adobe's marker announces, as Photoshop writes them).
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

#include <jpeglib.h>
#include <jerror.h>

#include "Graphics/ByteReader.h"
#include "Graphics/PictureDecoders.h"

namespace {

constexpr int kMaxScans = 100;

struct ErrorJump {
  jpeg_error_mgr manager;
  std::jmp_buf back;
  bool truncated;
};

void ErrorExit(j_common_ptr info) {
  std::longjmp(reinterpret_cast<ErrorJump*>(info->err)->back, 1);
}

// Warnings are silent; a premature end of the data is remembered, since the
// result would be partly invented.
void EmitMessage(j_common_ptr info, int level) {
  ErrorJump* jump = reinterpret_cast<ErrorJump*>(info->err);
  if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF) jump->truncated = true;
}

void OutputMessage(j_common_ptr) {}

void CountScans(j_common_ptr info) {
  j_decompress_ptr decompress = reinterpret_cast<j_decompress_ptr>(info);
  if (decompress->input_scan_number > kMaxScans || DecodeCancelled()) {
    std::longjmp(reinterpret_cast<ErrorJump*>(info->err)->back, 1);
  }
}

// The orientation tag (1..8) of an EXIF APP1 marker; 1 when there is none.
int ExifOrientation(const std::uint8_t* data, std::size_t size) {
  if (size < 14 || std::memcmp(data, "Exif\0\0", 6) != 0) return 1;
  const std::uint8_t* tiff = data + 6;
  ByteReader r(tiff, size - 6);
  const std::uint16_t order = r.U16le();
  const bool bigEndian = order == 0x4D4D;
  if (!bigEndian && order != 0x4949) return 1;
  auto u16 = [&] { return bigEndian ? r.U16be() : r.U16le(); };
  auto u32 = [&] { return bigEndian ? r.U32be() : r.U32le(); };
  if (u16() != 42 || !r.Seek(u32())) return 1;
  const unsigned count = u16();
  for (unsigned i = 0; i < count && r.Ok(); ++i) {
    const std::uint16_t tag = u16(), type = u16();
    u32();
    const std::uint16_t value = u16();
    u16();
    if (r.Ok() && tag == 0x0112 && type == 3) return value >= 1 && value <= 8 ? value : 1;
  }
  return 1;
}

// Everything that must outlive a longjmp lives outside the function that
// calls setjmp, so no local is left indeterminate.
struct JpegJob {
  jpeg_decompress_struct info;
  ErrorJump error;
  jpeg_progress_mgr progress;
  std::vector<JSAMPLE> row;
  int orientation = 1;
};

bool Decompress(JpegJob& job, const std::uint8_t* data, std::size_t size, std::uint64_t pixelBudget,
                PixelBuffer& out) {
  jpeg_decompress_struct& info = job.info;
  if (setjmp(job.error.back)) return false;
  jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
  jpeg_save_markers(&info, JPEG_APP0 + 1, 0xFFFF);
  if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) return false;
  if (static_cast<std::uint64_t>(info.image_width) * info.image_height > pixelBudget) return false;
  for (jpeg_saved_marker_ptr marker = info.marker_list; marker; marker = marker->next) {
    if (marker->marker == JPEG_APP0 + 1) {
      job.orientation = ExifOrientation(marker->data, marker->data_length);
      break;
    }
  }
  const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
  info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRA;
  jpeg_start_decompress(&info);
  if (!out.Allocate(info.output_width, info.output_height, pixelBudget)) return false;
  if (info.density_unit == 1 || info.density_unit == 2) {
    const double scale = info.density_unit == 2 ? 2.54 : 1.0;
    out.xDotsPerInch = info.X_density * scale;
    out.yDotsPerInch = info.Y_density * scale;
  }
  if (cmyk) job.row.resize(static_cast<std::size_t>(info.output_width) * 4);
  while (info.output_scanline < info.output_height) {
    const std::uint32_t y = info.output_scanline;
    JSAMPROW target = cmyk ? job.row.data() : out.Row(y);
    if (jpeg_read_scanlines(&info, &target, 1) != 1) return false;
    if (!cmyk) continue;
    // Adobe stores inverted ink (255 - ink); other writers the ink itself.
    const unsigned flip = info.saw_Adobe_marker ? 0 : 255;
    std::uint8_t* pixel = out.Row(y);
    for (std::uint32_t x = 0; x < info.output_width; ++x, pixel += 4) {
      const unsigned c = job.row[x * 4] ^ flip, m = job.row[x * 4 + 1] ^ flip, yellow = job.row[x * 4 + 2] ^ flip,
                     k = job.row[x * 4 + 3] ^ flip;
      pixel[0] = static_cast<std::uint8_t>((yellow * k + 127) / 255);
      pixel[1] = static_cast<std::uint8_t>((m * k + 127) / 255);
      pixel[2] = static_cast<std::uint8_t>((c * k + 127) / 255);
      pixel[3] = 255;
    }
  }
  if (job.error.truncated) return false;
  jpeg_finish_decompress(&info);
  return !job.error.truncated;
}

}  // namespace

bool DecodeJpeg(const std::uint8_t* data, std::size_t size, std::uint64_t pixelBudget, PixelBuffer& out) {
  JpegJob job;
  job.info.err = jpeg_std_error(&job.error.manager);
  job.error.manager.error_exit = ErrorExit;
  job.error.manager.emit_message = EmitMessage;
  job.error.manager.output_message = OutputMessage;
  job.error.truncated = false;
  job.progress.progress_monitor = CountScans;
  if (setjmp(job.error.back)) {  // jpeg_create_decompress can fail too
    jpeg_destroy_decompress(&job.info);
    return false;
  }
  jpeg_create_decompress(&job.info);
  job.info.progress = &job.progress;
  // libjpeg's own working memory stays within a bound of its own.
  job.info.mem->max_memory_to_use = 512L * 1024 * 1024;
  const bool ok = Decompress(job, data, size, pixelBudget, out);
  jpeg_destroy_decompress(&job.info);
  return ok && out.ApplyOrientation(job.orientation);
}
