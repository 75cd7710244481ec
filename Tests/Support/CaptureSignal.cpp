// The capture signal and the checks of a recording against it.
#include "Support/CaptureSignal.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <fstream>

#include "Support/FileBytes.h"

namespace qmtest {

namespace {

bool WriteCaptureSignal(std::uint32_t frames) {
  char unixPath[MAX_PATH] = {};
  if (GetEnvironmentVariableA("QM_ALSA_CAPTURE_FILE", unixPath, sizeof unixPath) == 0) return false;
  // Wine's drive Z: is the Unix root.
  std::string path = std::string("Z:") + unixPath;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  std::vector<std::uint32_t> values(frames);
  for (std::uint32_t i = 0; i < frames; ++i) values[i] = i;
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(values.data()), static_cast<std::streamsize>(frames) * 4);
  return static_cast<bool>(file);
}

// Before any test: the platform lists its wave devices once, on first use,
// and ALSA opens the file already then.
class CaptureSignalEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { ASSERT_TRUE(WriteCaptureSignal(kSignalFrames)) << "QM_ALSA_CAPTURE_FILE is not set"; }
};

const ::testing::Environment* const gCaptureSignal =
    ::testing::AddGlobalTestEnvironment(new CaptureSignalEnvironment);

}  // namespace

RecordedWave ReadRecordedWave(const std::string& path) {
  Bytes bytes = ReadFileBytes(path);
  RecordedWave wave;
  wave.fileBytes = bytes.size();
  if (bytes.size() < 46) return wave;
  wave.header.assign(bytes.begin(), bytes.begin() + 46);
  std::size_t frames = (bytes.size() - 46) / 4;
  wave.frames.resize(frames);
  std::memcpy(wave.frames.data(), bytes.data() + 46, frames * 4);
  return wave;
}

std::vector<unsigned char> ExpectedWaveHeader(std::uint32_t dataBytes) {
  auto word = [](std::uint32_t v) {
    return std::vector<unsigned char>{static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8),
                                      static_cast<unsigned char>(v >> 16), static_cast<unsigned char>(v >> 24)};
  };
  std::vector<unsigned char> header = {'R', 'I', 'F', 'F'};
  auto append = [&header](const std::vector<unsigned char>& part) {
    header.insert(header.end(), part.begin(), part.end());
  };
  append(word(dataBytes + 38));
  append({'W', 'A', 'V', 'E', 'f', 'm', 't', ' ', 18, 0, 0, 0});
  append({1, 0, 2, 0});                // PCM, 2 channels
  append({0x44, 0xAC, 0x00, 0x00});    // 44,100
  append({0x10, 0xB1, 0x02, 0x00});    // 176,400
  append({4, 0, 16, 0, 0, 0});         // block align, bits, cbSize
  append({'d', 'a', 't', 'a'});
  append(word(dataBytes));
  return header;
}

std::string CheckFramesOfSignal(const std::vector<std::uint32_t>& frames, std::uint32_t signalFrames) {
  for (std::size_t i = 0; i < frames.size(); ++i) {
    if (frames[i] >= signalFrames) {
      return "frame " + std::to_string(i) + " holds " + std::to_string(frames[i]) + ", not a frame of the signal";
    }
    if (i > 0 && frames[i] <= frames[i - 1]) {
      return "frame " + std::to_string(i) + " holds " + std::to_string(frames[i]) + " after " +
             std::to_string(frames[i - 1]);
    }
  }
  return {};
}

std::string CheckWaveOfSignal(const std::string& path, std::uint32_t dataBytes) {
  RecordedWave wave = ReadRecordedWave(path);
  if (wave.fileBytes != 46u + dataBytes) {
    return path + " has " + std::to_string(wave.fileBytes) + " bytes, not 46 + " + std::to_string(dataBytes);
  }
  if (dataBytes % 4 != 0) return "the data length " + std::to_string(dataBytes) + " is not whole frames";
  if (wave.header != ExpectedWaveHeader(dataBytes)) return "the header differs";
  return CheckFramesOfSignal(wave.frames, kSignalFrames);
}

void WriteToneWave(const std::string& path, int seconds) {
  const std::uint32_t dataBytes = static_cast<std::uint32_t>(seconds) * 176400;
  Bytes bytes = ExpectedWaveHeader(dataBytes);
  bytes.reserve(bytes.size() + dataBytes);
  for (std::uint32_t frame = 0; frame < dataBytes / 4; ++frame) {
    const auto sample = static_cast<std::uint16_t>((frame % 100) * 20);
    for (int channel = 0; channel < 2; ++channel) {
      bytes.push_back(static_cast<unsigned char>(sample));
      bytes.push_back(static_cast<unsigned char>(sample >> 8));
    }
  }
  WriteFileBytes(path, bytes);
}

}  // namespace qmtest
