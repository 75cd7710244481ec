// ByteReader: bounded reads of little- and big-endian integers from a file
// held in memory, for the decoders of our own. A read past the end sets a
// sticky failure flag and yields 0, so a decoder checks Ok() once after a
// group of reads instead of every single one.
#ifndef QUILLMATE_GRAPHICS_BYTEREADER_H
#define QUILLMATE_GRAPHICS_BYTEREADER_H

#include <cstddef>
#include <cstdint>

class ByteReader {
 public:
  ByteReader(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

  bool Ok() const { return m_ok; }
  std::size_t Position() const { return m_position; }
  std::size_t Size() const { return m_size; }
  std::size_t Remaining() const { return m_position <= m_size ? m_size - m_position : 0; }
  const std::uint8_t* Data() const { return m_data; }

  // Moves to an absolute offset; past the end fails.
  bool Seek(std::size_t offset) {
    if (offset > m_size) return m_ok = false;
    m_position = offset;
    return true;
  }
  bool Skip(std::size_t count) {
    if (count > Remaining()) return m_ok = false;
    m_position += count;
    return true;
  }
  // The next count bytes, or null (and failure) when fewer remain.
  const std::uint8_t* Take(std::size_t count) {
    if (count > Remaining()) {
      m_ok = false;
      return nullptr;
    }
    const std::uint8_t* at = m_data + m_position;
    m_position += count;
    return at;
  }

  std::uint8_t U8() {
    const std::uint8_t* p = Take(1);
    return p ? p[0] : 0;
  }
  std::uint16_t U16le() {
    const std::uint8_t* p = Take(2);
    return p ? static_cast<std::uint16_t>(p[0] | p[1] << 8) : 0;
  }
  std::uint32_t U32le() {
    const std::uint8_t* p = Take(4);
    return p ? static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
                   static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24
             : 0;
  }
  std::int32_t I32le() { return static_cast<std::int32_t>(U32le()); }
  std::uint16_t U16be() {
    const std::uint8_t* p = Take(2);
    return p ? static_cast<std::uint16_t>(p[0] << 8 | p[1]) : 0;
  }
  std::uint32_t U32be() {
    const std::uint8_t* p = Take(4);
    return p ? static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
                   static_cast<std::uint32_t>(p[2]) << 8 | static_cast<std::uint32_t>(p[3])
             : 0;
  }

 private:
  const std::uint8_t* m_data;
  std::size_t m_size;
  std::size_t m_position = 0;
  bool m_ok = true;
};

#endif  // QUILLMATE_GRAPHICS_BYTEREADER_H
