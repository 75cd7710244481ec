// The known signal that the test sound device captures: frame i holds the
// 32-bit value i, so every frame is unique and tells where in the signal it
// came from. The raw file is written before the program first touches the
// wave devices (ALSA opens it when the device is opened). Not in the support
// library: a test executable lists CaptureSignal.cpp among its sources, so
// that the signal's test environment is linked in, and is run with
// scripts/alsa-capture.conf (qm_capture_signal in Tests/Support).
#ifndef QUILLMATE_TESTS_SUPPORT_CAPTURESIGNAL_H
#define QUILLMATE_TESTS_SUPPORT_CAPTURESIGNAL_H

#include <cstdint>
#include <string>
#include <vector>

namespace qmtest {

// Two minutes of signal: far more than any take of the tests reads. It is
// written, to the file named by the environment variable
// QM_ALSA_CAPTURE_FILE (a Unix path), before the first test runs.
constexpr std::uint32_t kSignalFrames = 44100 * 120;

// What a recorded WAV file holds, checked against the signal.
struct RecordedWave {
  std::vector<unsigned char> header;  // the first 46 bytes
  std::uint64_t fileBytes = 0;
  std::vector<std::uint32_t> frames;  // the data chunk, one value per frame
};
RecordedWave ReadRecordedWave(const std::string& path);

// The 46 header bytes that a file with `dataBytes` of sound must start with.
std::vector<unsigned char> ExpectedWaveHeader(std::uint32_t dataBytes);

// Empty when every frame is a frame of the signal (below `signalFrames`),
// each after the one before it (so none repeated); else what is wrong.
std::string CheckFramesOfSignal(const std::vector<std::uint32_t>& frames, std::uint32_t signalFrames);

// Empty when the file at path is a complete WAV holding `dataBytes` of
// frames of the signal, with the header of ExpectedWaveHeader; else what is
// wrong with it.
std::string CheckWaveOfSignal(const std::string& path, std::uint32_t dataBytes);

// A WAV of `seconds` of a quiet saw tone in the recording format, written
// byte by byte (not by the program's writer), for playback.
void WriteToneWave(const std::string& path, int seconds);

}  // namespace qmtest

#endif  // QUILLMATE_TESTS_SUPPORT_CAPTURESIGNAL_H
