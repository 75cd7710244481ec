// zlib-compatible CRC-32 (reflected polynomial 0xEDB88320, initial and final
// value 0xFFFFFFFF) that guards every stored object. Pass the previous result
// as crc to continue a running checksum over several pieces.
#ifndef QUILLMATE_DATABASE_GXCRC32_H
#define QUILLMATE_DATABASE_GXCRC32_H

#include <cstddef>
#include <cstdint>

std::uint32_t gxCrc32(const void* data, std::size_t length, std::uint32_t crc = 0);

#endif  // QUILLMATE_DATABASE_GXCRC32_H
