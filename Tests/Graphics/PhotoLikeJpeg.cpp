// Gradients, a pattern and noise, encoded by libjpeg.
#include "PhotoLikeJpeg.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>

#include <jpeglib.h>

std::vector<unsigned char> PhotoLikeJpeg(int width, int height, bool progressive) {
  std::vector<unsigned char> rgb(static_cast<std::size_t>(width) * height * 3);
  std::mt19937 random(12);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      unsigned char* p = &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
      const int noise = static_cast<int>(random() % 17) - 8;
      p[0] = static_cast<unsigned char>(std::min(255, std::max(0, x * 255 / width + noise)));
      p[1] = static_cast<unsigned char>(std::min(255, std::max(0, y * 255 / height + noise)));
      p[2] = static_cast<unsigned char>(std::min(255, std::max(0, ((x / 50 + y / 50) % 2) * 120 + 60 + noise)));
    }
  }
  jpeg_compress_struct info;
  jpeg_error_mgr error;
  info.err = jpeg_std_error(&error);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = width;
  info.image_height = height;
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 90, TRUE);
  if (progressive) jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = &rgb[static_cast<std::size_t>(info.next_scanline) * width * 3];
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::vector<unsigned char> bytes(buffer, buffer + size);
  std::free(buffer);
  return bytes;
}
