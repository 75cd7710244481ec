// Raw access to files behind the program's back: tests read, check and
// damage the bytes on disk. Words are little-endian 32-bit, as the database
// and record files store them.
#ifndef QUILLMATE_TESTS_SUPPORT_FILEBYTES_H
#define QUILLMATE_TESTS_SUPPORT_FILEBYTES_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qmtest {

using Bytes = std::vector<unsigned char>;

// The whole file; empty when it cannot be read.
Bytes ReadFileBytes(const std::string& path);
// Replaces the file's contents (creating it).
void WriteFileBytes(const std::string& path, const Bytes& bytes);

std::string ReadFileText(const std::string& path);
void WriteFileText(const std::string& path, const std::string& text);

// The word at offset; throws std::out_of_range past the end.
std::uint32_t WordAt(const Bytes& bytes, std::size_t offset);
// Overwrites the word at offset in the file.
void PatchWord(const std::string& path, std::size_t offset, std::uint32_t value);

}  // namespace qmtest

#endif  // QUILLMATE_TESTS_SUPPORT_FILEBYTES_H
