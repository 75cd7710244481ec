// zlib's crc32 is this very CRC, and much faster than a byte-at-a-time table.
#include "Database/gxCrc32.h"

#include <zlib.h>

std::uint32_t gxCrc32(const void* data, std::size_t length, std::uint32_t crc) {
  const unsigned char* bytes = static_cast<const unsigned char*>(data);
  uLong running = crc;
  // zlib counts in uInt: feed anything longer in pieces.
  constexpr std::size_t kPiece = 1u << 30;
  do {
    const std::size_t piece = length < kPiece ? length : kPiece;
    running = crc32(running, bytes, static_cast<uInt>(piece));
    bytes += piece;
    length -= piece;
  } while (length > 0);
  return static_cast<std::uint32_t>(running);
}
