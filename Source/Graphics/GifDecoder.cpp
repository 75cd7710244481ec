// GIF pictures through giflib, read from memory record by record; only the
// first frame is decoded (the album shows still pictures), placed on the
// logical screen with the area outside it transparent. The graphic control
// extension before the frame gives its transparent colour.
//
// Limits: the canvas is the logical screen, grown to hold the frame when a
// damaged header makes the screen smaller; the pixel budget is checked
// before it is allocated; a frame whose data ends early is refused; colour
// indices beyond the colour map read as black. giflib reports errors by
// return value, never by ending the process.
#include <cstring>
#include <vector>

#include <gif_lib.h>

#include "Graphics/PictureDecoders.h"

namespace {

struct GifSource {
  const std::uint8_t* data;
  std::size_t size;
  std::size_t position;
};

int ReadProc(GifFileType* gif, GifByteType* buffer, int length) {
  GifSource* source = static_cast<GifSource*>(gif->UserData);
  if (length <= 0) return 0;
  const std::size_t available = source->size - source->position;
  const std::size_t count = static_cast<std::size_t>(length) < available ? static_cast<std::size_t>(length) : available;
  std::memcpy(buffer, source->data + source->position, count);
  source->position += count;
  return static_cast<int>(count);
}

bool ReadFrame(GifFileType* gif, int transparent, std::uint64_t pixelBudget, PixelBuffer& out) {
  if (DGifGetImageDesc(gif) == GIF_ERROR) return false;
  const GifImageDesc& frame = gif->Image;
  if (frame.Width <= 0 || frame.Height <= 0 || frame.Left < 0 || frame.Top < 0) return false;
  const std::uint64_t right = static_cast<std::uint64_t>(frame.Left) + frame.Width;
  const std::uint64_t bottom = static_cast<std::uint64_t>(frame.Top) + frame.Height;
  const std::uint64_t width = right > static_cast<std::uint64_t>(gif->SWidth) ? right : gif->SWidth;
  const std::uint64_t height = bottom > static_cast<std::uint64_t>(gif->SHeight) ? bottom : gif->SHeight;
  if (!out.Allocate(width, height, pixelBudget)) return false;
  for (std::uint32_t y = 0; y < out.Height(); ++y) {
    for (std::uint32_t x = 0; x < out.Width(); ++x) out.Row(y)[x * 4 + 3] = 0;
  }
  const ColorMapObject* map = frame.ColorMap ? frame.ColorMap : gif->SColorMap;
  std::vector<GifPixelType> line(static_cast<std::size_t>(frame.Width));
  // Interlaced frames store rows 0, 8, 16, ..., then 4, 12, ..., then 2, 6,
  // ..., then 1, 3, ...
  static const int kStart[4] = {0, 4, 2, 1}, kStep[4] = {8, 8, 4, 2};
  const int passes = frame.Interlace ? 4 : 1;
  for (int pass = 0; pass < passes; ++pass) {
    const int start = frame.Interlace ? kStart[pass] : 0, step = frame.Interlace ? kStep[pass] : 1;
    for (int row = start; row < frame.Height; row += step) {
      if (DGifGetLine(gif, line.data(), frame.Width) == GIF_ERROR) return false;
      for (int x = 0; x < frame.Width; ++x) {
        const int index = line[x];
        const std::uint32_t px = static_cast<std::uint32_t>(frame.Left + x), py = static_cast<std::uint32_t>(frame.Top + row);
        if (index == transparent) continue;
        if (!map) {
          out.SetPixel(px, py, static_cast<std::uint8_t>(index), static_cast<std::uint8_t>(index),
                       static_cast<std::uint8_t>(index));
        } else if (index < map->ColorCount) {
          const GifColorType& c = map->Colors[index];
          out.SetPixel(px, py, c.Red, c.Green, c.Blue);
        } else {
          out.SetPixel(px, py, 0, 0, 0);
        }
      }
    }
  }
  return true;
}

bool ReadFirstFrame(GifFileType* gif, std::uint64_t pixelBudget, PixelBuffer& out) {
  int transparent = -1;
  for (;;) {
    GifRecordType type;
    if (DGifGetRecordType(gif, &type) == GIF_ERROR) return false;
    if (type == IMAGE_DESC_RECORD_TYPE) return ReadFrame(gif, transparent, pixelBudget, out);
    if (type != EXTENSION_RECORD_TYPE) return false;  // the end before any frame
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) return false;
    while (block) {
      if (code == GRAPHICS_EXT_FUNC_CODE && block[0] >= 4) transparent = (block[1] & 1) ? block[4] : -1;
      if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) return false;
    }
  }
}

}  // namespace

bool DecodeGif(const std::uint8_t* data, std::size_t size, std::uint64_t pixelBudget, PixelBuffer& out) {
  GifSource source{data, size, 0};
  int error = 0;
  GifFileType* gif = DGifOpen(&source, ReadProc, &error);
  if (!gif) return false;
  const bool ok = ReadFirstFrame(gif, pixelBudget, out);
  DGifCloseFile(gif, &error);
  return ok;
}
