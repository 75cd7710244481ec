// A reader of AVI files written by the capture, independent of the
// platform's AVI functions: it walks the RIFF chunks itself and returns the
// main header, each stream's header and format, and the chunks of the
// "movi" list by stream.
#ifndef QUILLMATE_TESTS_MEDIA_AVIFILEREADER_H
#define QUILLMATE_TESTS_MEDIA_AVIFILEREADER_H

#include <cstdint>
#include <string>
#include <vector>

namespace qmtest {

struct AviStream {
  std::string type;  // "vids" or "auds"
  std::string handler;
  std::uint32_t scale = 0;
  std::uint32_t rate = 0;
  std::uint32_t length = 0;
  std::vector<unsigned char> format;               // the strf chunk
  std::vector<std::vector<unsigned char>> chunks;  // the stream's movi chunks, in order
};

struct AviFile {
  std::string error;  // empty when the file was read as a valid AVI
  std::uint32_t microSecondsPerFrame = 0;
  std::uint32_t totalFrames = 0;
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::vector<AviStream> streams;
  bool hasIndex = false;
};

AviFile ReadAviFile(const std::string& path);

}  // namespace qmtest

#endif  // QUILLMATE_TESTS_MEDIA_AVIFILEREADER_H
