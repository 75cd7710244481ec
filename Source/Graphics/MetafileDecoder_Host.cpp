// Metafiles are records of the platform's drawing calls: without Windows
// there is nothing to play them with, and the picture stays empty.
#include "Graphics/PictureDecoders.h"

bool DecodeMetafile(const std::uint8_t*, std::size_t, std::uint64_t, PixelBuffer&) { return false; }
