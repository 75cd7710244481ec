// RIFF files built chunk by chunk for the tests and the fuzz seeds: a WAVE as
// the recorder writes it and a small AVI with a video and a sound stream,
// each with the one field a test wants to break.
#ifndef QUILLMATE_TESTS_RECORDS_CRAFTEDRIFF_H
#define QUILLMATE_TESTS_RECORDS_CRAFTEDRIFF_H

#include <cstdint>
#include <string>
#include <vector>

namespace qmtest {

using RiffBytes = std::vector<std::uint8_t>;

// A chunk (id, size, content, pad byte) and a LIST of chunks.
RiffBytes RiffChunk(const std::string& id, const RiffBytes& content);
RiffBytes RiffList(const std::string& type, const std::vector<RiffBytes>& chunks);
// "RIFF", size, form, chunks.
RiffBytes RiffFile(const std::string& form, const std::vector<RiffBytes>& chunks);
// A WAVEFORMAT of 16 bytes.
RiffBytes WaveFormat(int tag, int channels, std::uint32_t rate, std::uint32_t byteRate, int align, int bits);
RiffBytes PcmFormat(int channels, std::uint32_t rate, int bits);

struct CraftedAvi {
  std::uint32_t videoRate = 15;
  std::int32_t frameWidth = 32;
  std::int32_t frameHeight = 24;
  RiffBytes soundFormat = PcmFormat(2, 44100, 16);
  bool movie = true;
};
RiffBytes CraftAvi(const CraftedAvi& avi);

}  // namespace qmtest

#endif  // QUILLMATE_TESTS_RECORDS_CRAFTEDRIFF_H
