// Extension table of the picture formats.
#include "Graphics/PictureFormat.h"

#include <cctype>
#include <iterator>

namespace {

struct ExtensionRow {
  const char* extension;  // lower case, without the dot
  int format;
};

// "jpeg", "jpe" and "jfif" are the other names JPEG files commonly carry.
const ExtensionRow kExtensions[] = {
    {"bmp", kFormatBmp},  {"gif", kFormatGif},  {"jpg", kFormatJpeg},      {"jpeg", kFormatJpeg},
    {"jpe", kFormatJpeg}, {"jfif", kFormatJpeg}, {"png", kFormatPng},      {"ico", kFormatIco},
    {"tif", kFormatTiff}, {"tiff", kFormatTiff}, {"tga", kFormatTga},      {"pcx", kFormatPcx},
    {"wbmp", kFormatWbmp}, {"wmf", kFormatMetafile}, {"emf", kFormatMetafile},
};

}  // namespace

int PictureFormatOfPath(const std::string& path) {
  const std::string::size_type dot = path.rfind('.');
  if (dot == std::string::npos) return kFormatUnknown;
  std::string extension = path.substr(dot + 1);
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (const ExtensionRow& row : kExtensions) {
    if (extension == row.extension) return row.format;
  }
  return kFormatUnknown;
}
