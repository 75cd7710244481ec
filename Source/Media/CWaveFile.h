// CWaveFile: the RIFF WAVE file that a recording is written into, through the
// platform's buffered multimedia file I/O (mmio). The header is written when
// the file is created; sound bytes are appended to the "data" chunk as the
// buffers come back; Complete ascends out of both chunks, which writes their
// sizes, and closes the file.
//
// The file (little-endian; offsets from the start of the file):
//
//   offset  size  content
//   ------  ----  -----------------------------------------------------------
//        0     4  "RIFF"
//        4     4  total length - 8 (= data length + 38), written by Complete
//        8     4  "WAVE"
//       12     4  "fmt "
//       16     4  18: the format block including its 2-byte cbSize field
//       20     2  format tag 1 (PCM)
//       22     2  channels 2
//       24     4  samples per second 44,100
//       28     4  average bytes per second 176,400
//       32     2  block align 4
//       34     2  bits per sample 16
//       36     2  cbSize 0
//       38     4  "data"
//       42     4  data length, written by Complete
//       46     …  interleaved 16-bit stereo samples
//
// Limits:
//   1. Both chunk sizes are 32-bit. Append never lets the data grow past
//      DataLimit() (a multiple of the 4-byte frame), so a completed file is
//      always valid; what does not fit is refused and reported by the result.
//   2. A file that was created but not completed has zero sizes; Discard
//      closes and deletes it.
#ifndef QUILLMATE_MEDIA_CWAVEFILE_H
#define QUILLMATE_MEDIA_CWAVEFILE_H

#include <windows.h>
#include <mmsystem.h>

#include <cstdint>
#include <string>

// The one recording format: PCM, 2 channels, 44,100 Hz, 16 bits.
WAVEFORMATEX RecordingFormat();

constexpr std::uint32_t kWaveHeaderBytes = 46;
// mmio keeps file positions in a LONG: past 2 GiB its offsets, and the sizes
// that ascending computes from them, overflow. The data stops so that the
// whole file stays below 2 GiB.
constexpr std::uint32_t kWaveDataLimit = (0x7FFFFFFFu - kWaveHeaderBytes) & ~3u;

class CWaveFile {
 public:
  CWaveFile() = default;
  ~CWaveFile();  // discards a file that was not completed
  CWaveFile(const CWaveFile&) = delete;
  CWaveFile& operator=(const CWaveFile&) = delete;

  // Creates (or truncates) the file and writes the header chunks, leaving
  // the "data" chunk open. False, with nothing left open, on failure.
  bool Create(const std::string& path);
  bool IsOpen() const { return m_file != nullptr; }

  // Appends whole frames. Returns the number of bytes written: fewer than
  // asked when the data limit is reached or the write fails.
  std::uint32_t Append(const void* bytes, std::uint32_t count);
  std::uint32_t DataBytes() const { return m_dataBytes; }
  bool IsFull() const { return m_full; }
  // Full because a write failed (a full disk), not because of the limit.
  bool WriteFailed() const { return m_writeFailed; }

  // Writes both chunk sizes and closes the file. False when mmio failed.
  bool Complete();
  // Closes and deletes a file that will not be completed.
  void Discard();

  // Tests lower the limit to reach it in seconds; rounded down to frames.
  void SetDataLimit(std::uint32_t bytes) { m_dataLimit = bytes & ~3u; }
  // For tests: every Complete fails as a failed flush would, without
  // writing the sizes (the file is closed as it lies).
  static void FailCompletes(bool fail);

 private:
  HMMIO m_file = nullptr;
  std::string m_path;
  MMCKINFO m_riff{};
  MMCKINFO m_chunk{};  // "fmt ", then "data"
  std::uint32_t m_dataBytes = 0;
  std::uint32_t m_dataLimit = kWaveDataLimit;
  bool m_full = false;
  bool m_writeFailed = false;
};

#endif  // QUILLMATE_MEDIA_CWAVEFILE_H
