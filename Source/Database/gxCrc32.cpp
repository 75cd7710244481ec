// Table-driven CRC-32; the table is built once from the reflected polynomial.
#include "Database/gxCrc32.h"

#include <array>

namespace {

std::array<std::uint32_t, 256> BuildTable() {
  std::array<std::uint32_t, 256> table{};
  for (std::uint32_t i = 0; i < 256; ++i) {
    std::uint32_t value = i;
    for (int bit = 0; bit < 8; ++bit) value = (value & 1u) ? (value >> 1) ^ 0xEDB88320u : value >> 1;
    table[i] = value;
  }
  return table;
}

}  // namespace

std::uint32_t gxCrc32(const void* data, std::size_t length, std::uint32_t crc) {
  static const std::array<std::uint32_t, 256> table = BuildTable();
  const unsigned char* bytes = static_cast<const unsigned char*>(data);
  crc = ~crc;
  for (std::size_t i = 0; i < length; ++i) crc = table[(crc ^ bytes[i]) & 0xFFu] ^ (crc >> 8);
  return ~crc;
}
