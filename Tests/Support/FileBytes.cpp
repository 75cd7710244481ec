// File bytes and words through standard streams, the same in both builds.
#include "Support/FileBytes.h"

#include <fstream>
#include <iterator>

namespace qmtest {

Bytes ReadFileBytes(const std::string& path) {
  // In one read: a byte-by-byte copy costs seconds per megabyte in the
  // sanitizer build, and random model tests read their files often.
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) return Bytes();
  const std::streamoff size = in.tellg();
  if (size <= 0) return Bytes();
  Bytes bytes(static_cast<std::size_t>(size));
  in.seekg(0);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size));
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  return bytes;
}

void WriteFileBytes(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadFileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileText(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
}

std::uint32_t WordAt(const Bytes& bytes, std::size_t offset) {
  return static_cast<std::uint32_t>(bytes.at(offset)) |
         (static_cast<std::uint32_t>(bytes.at(offset + 1)) << 8) |
         (static_cast<std::uint32_t>(bytes.at(offset + 2)) << 16) |
         (static_cast<std::uint32_t>(bytes.at(offset + 3)) << 24);
}

void PatchWord(const std::string& path, std::size_t offset, std::uint32_t value) {
  Bytes bytes = ReadFileBytes(path);
  for (std::size_t i = 0; i < 4; ++i) bytes.at(offset + i) = static_cast<unsigned char>(value >> (8 * i));
  WriteFileBytes(path, bytes);
}

}  // namespace qmtest
