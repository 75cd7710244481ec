// The decoders behind CPicture, one per format, all with one contract: read
// size bytes at data as a file of their format, treating every byte as
// hostile, and fill out through PixelBuffer::Allocate (so nothing larger
// than pixelBudget pixels is ever allocated). They return false on any
// damage or refusal; out may then hold a partial picture, which the caller
// discards. Library errors never leave a decoder other than as false.
#ifndef QUILLMATE_GRAPHICS_PICTUREDECODERS_H
#define QUILLMATE_GRAPHICS_PICTUREDECODERS_H

#include <cstddef>
#include <cstdint>

#include "Graphics/PixelBuffer.h"

using PictureDecoder = bool (*)(const std::uint8_t* data, std::size_t size, std::uint64_t pixelBudget,
                                PixelBuffer& out);

bool DecodeBmp(const std::uint8_t* data, std::size_t size, std::uint64_t pixelBudget, PixelBuffer& out);
bool DecodeGif(const std::uint8_t* data, std::size_t size, std::uint64_t pixelBudget, PixelBuffer& out);
bool DecodeJpeg(const std::uint8_t* data, std::size_t size, std::uint64_t pixelBudget, PixelBuffer& out);
bool DecodePng(const std::uint8_t* data, std::size_t size, std::uint64_t pixelBudget, PixelBuffer& out);
bool DecodeIco(const std::uint8_t* data, std::size_t size, std::uint64_t pixelBudget, PixelBuffer& out);
bool DecodeTiff(const std::uint8_t* data, std::size_t size, std::uint64_t pixelBudget, PixelBuffer& out);
bool DecodeTga(const std::uint8_t* data, std::size_t size, std::uint64_t pixelBudget, PixelBuffer& out);
bool DecodePcx(const std::uint8_t* data, std::size_t size, std::uint64_t pixelBudget, PixelBuffer& out);
bool DecodeWbmp(const std::uint8_t* data, std::size_t size, std::uint64_t pixelBudget, PixelBuffer& out);
// WMF (placeable or not) and EMF, played by the platform into a bitmap; on
// other platforms always false.
bool DecodeMetafile(const std::uint8_t* data, std::size_t size, std::uint64_t pixelBudget,
                    PixelBuffer& out);

// The device-independent bitmap inside a BMP file or an icon entry: info
// header, optional masks and palette, then the pixels. An icon's bitmap is
// twice as high as the picture and ends with a one-bit transparency mask.
bool DecodeDib(const std::uint8_t* data, std::size_t size, std::size_t pixelOffset, bool iconMask,
               std::uint64_t pixelBudget, PixelBuffer& out);

// True when the load running on this thread has been asked to stop (the
// flag CPicture::Load was given); decoders that can take long look at it as
// they go and refuse at once.
bool DecodeCancelled();

// The decoder of a format code, or null for an unknown code.
PictureDecoder PictureDecoderOf(int format);

#endif  // QUILLMATE_GRAPHICS_PICTUREDECODERS_H
