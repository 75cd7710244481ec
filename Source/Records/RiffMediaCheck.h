// The sound and video attachments (RIFF WAVE and AVI) checked by our own
// bounded reader before a player opens them: the platform's players divide by
// the channel count, the rate and the block alignment, and trust every chunk
// size. Portable, so it is fuzzed natively.
//
//   RIFF file:  | "RIFF" | size u32 | form "WAVE" or "AVI " | chunks ... |
//   chunk:      | id (4) | size u32 | size bytes, padded to even |
//   "LIST":     | "LIST" | size u32 | list type (4) | chunks ... |
//
//   WAVE: a "fmt " chunk (WAVEFORMAT, >= 16 bytes: tag u16, channels u16,
//         samples per second u32, average bytes per second u32, block
//         alignment u16, bits per sample u16) before the "data" chunk.
//   AVI:  LIST "hdrl" with "avih" (>= 56 bytes, stream count at 24), then per
//         stream a LIST "strl" with "strh" (>= 48 bytes: type "vids"/"auds"
//         at 0, scale at 20, rate at 24) and "strf" (a WAVEFORMAT for sound,
//         a BITMAPINFOHEADER for video); then LIST "movi"; "idx1" optional.
//
// Limits: every chunk lies inside its list and the file; at most
// kMaxRiffChunks chunks are looked at; a format plays only with a channel
// count the kind allows, a rate, block alignment and byte rate above 0, and
// for PCM the alignment and byte rate that its channels, bits and rate give;
// a stream's scale and rate are above 0; a video frame has a size of at most
// kMaxVideoFramePixels.
#ifndef QUILLMATE_RECORDS_RIFFMEDIACHECK_H
#define QUILLMATE_RECORDS_RIFFMEDIACHECK_H

#include <cstddef>
#include <cstdint>
#include <string>

constexpr std::uint32_t kMaxRiffChunks = 100000;
constexpr std::uint64_t kMaxVideoFramePixels = 64u * 1024 * 1024;

enum class RiffMedia {
  RecorderWave,  // an audio note: 1 or 2 channels, as the recorder writes
  Avi,           // a video note: any number of sound channels from 1
};

// Random access to the bytes being checked.
class RiffSource {
 public:
  virtual ~RiffSource() = default;
  virtual std::uint64_t Size() const = 0;
  // Reads count bytes at offset; false when they are not all there.
  virtual bool Read(std::uint64_t offset, void* buffer, std::size_t count) const = 0;
};

class MemoryRiffSource : public RiffSource {
 public:
  MemoryRiffSource(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
  std::uint64_t Size() const override { return m_size; }
  bool Read(std::uint64_t offset, void* buffer, std::size_t count) const override;

 private:
  const std::uint8_t* m_data;
  std::size_t m_size;
};

// Null when the media can be handed to a player; otherwise a short English
// phrase saying why not ("its sound format states 0 channels").
const char* RiffMediaProblem(const RiffSource& source, RiffMedia kind);

// The same for a file (an ANSI path). A file that cannot be opened is not
// checked here: null, and the caller meets the missing file as before.
const char* RiffMediaFileProblem(const std::string& path, RiffMedia kind);

#endif  // QUILLMATE_RECORDS_RIFFMEDIACHECK_H
