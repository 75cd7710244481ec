// The wave recorder driven for real under Wine, capturing a known signal:
// the file it writes, its two threads, its limits and its give-up path.
#include <gtest/gtest.h>

#include <windows.h>
#include <tlhelp32.h>

#include <set>

#include "Support/CaptureSignal.h"
#include "Media/CWaveRecorder.h"
#include "Support/FileBytes.h"
#include "Support/MessagePump.h"
#include "Support/RecordedMessageBoxes.h"
#include "Support/ScratchFolder.h"

using namespace qmtest;

namespace {

constexpr DWORD kRecordingWaitMs = 30000;

// What the test device may report and still record: it has no mixer.
const std::set<std::string> kMixerWarnings = {"Device does not have mixer support!",
                                              "Device does not have a WAVE recording control!",
                                              "ERROR: There are no WAVE inputs to adjust!"};

int ThreadCount() {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  int count = 0;
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
    if (entry.th32OwnerProcessID == GetCurrentProcessId()) ++count;
  }
  CloseHandle(snapshot);
  return count;
}

DWORD HandleCount() {
  DWORD count = 0;
  GetProcessHandleCount(GetCurrentProcess(), &count);
  return count;
}

class WaveRecorderTest : public ::testing::Test {
 protected:
  // Records until at least `bytes` of sound are in the file.
  void RecordAtLeast(CWaveRecorder& recorder, int position, const std::string& path, std::uint32_t bytes) {
    ASSERT_EQ(recorder.Open(nullptr, position), 1);
    ASSERT_EQ(recorder.Start(nullptr, path), 1);
    ASSERT_TRUE(recorder.IsRecording());
    ASSERT_TRUE(PumpUntil([&] { return recorder.DataBytes() >= bytes; }, kRecordingWaitMs));
  }

  // The file is a complete WAV of frames of the signal; returns its frames.
  std::vector<std::uint32_t> CheckRecording(const std::string& path, std::uint32_t dataBytes) {
    EXPECT_EQ(CheckWaveOfSignal(path, dataBytes), "");
    return ReadRecordedWave(path).frames;
  }

  void ExpectOnlyMixerWarnings() {
    for (const ShownBox& box : m_boxes.shown) {
      EXPECT_TRUE(kMixerWarnings.count(box.text)) << box.text;
      EXPECT_EQ(box.caption, "Quillmate");
      EXPECT_EQ(box.style, kMbOk | kMbIconWarning);
    }
  }

  ScratchFolder m_folder{"wave"};
  RecordedMessageBoxes m_boxes;
};

}  // namespace

TEST_F(WaveRecorderTest, AKnownSignalIsRecordedAsAValidWaveAndASecondTakeOverwritesTheFirst) {
  CWaveRecorder recorder;
  const std::string path = m_folder.PathOf("take.wav");

  RecordAtLeast(recorder, 0, path, 3 * kWaveBufferBytes);
  recorder.Stop(nullptr);
  EXPECT_FALSE(recorder.IsRecording());
  const std::uint32_t first = recorder.DataBytes();
  std::vector<std::uint32_t> frames = CheckRecording(path, first);
  // Both buffers went round at least once, and the take began at the start
  // of the signal.
  EXPECT_GE(first, 3 * kWaveBufferBytes);
  ASSERT_FALSE(frames.empty());
  EXPECT_LT(frames.front(), 44100u);

  // A shorter second take into the same path leaves only itself.
  RecordAtLeast(recorder, 1, path, 1);
  recorder.Stop(nullptr);
  const std::uint32_t second = recorder.DataBytes();
  frames = CheckRecording(path, second);
  ASSERT_FALSE(frames.empty());
  EXPECT_LT(frames.front(), 44100u);
  ExpectOnlyMixerWarnings();
}

TEST_F(WaveRecorderTest, PositionZeroOpensTheMapperPositionOneDeviceZeroAndStopWithoutARecordingDoesNothing) {
  CWaveRecorder recorder;
  ASSERT_GE(CWaveRecorder::DeviceCount(), 1u);
  const std::string path = m_folder.PathOf("untouched.wav");
  WriteFileText(path, "not a recording");

  recorder.Stop(nullptr);  // never opened
  // The mapper's id is the platform's own (Wine numbers it past the
  // devices); what matters is that it is not device 0.
  ASSERT_EQ(recorder.Open(nullptr, 0), 1);
  const UINT mapper = recorder.DeviceId();
  EXPECT_NE(mapper, 0u);
  EXPECT_NE(mapper, CWaveRecorder::kNoWaveDevice);
  recorder.Stop(nullptr);  // open, not recording
  EXPECT_EQ(recorder.DeviceId(), mapper);

  ASSERT_EQ(recorder.Open(nullptr, 1), 1);
  EXPECT_EQ(recorder.DeviceId(), 0u);
  recorder.Stop(nullptr);
  EXPECT_EQ(ReadFileText(path), "not a recording");
  ExpectOnlyMixerWarnings();

  // A device that does not exist: its own warning, and nothing stays open.
  const int threads = ThreadCount();
  EXPECT_EQ(recorder.Open(nullptr, static_cast<int>(CWaveRecorder::DeviceCount()) + 1), 0);
  EXPECT_EQ(recorder.DeviceId(), CWaveRecorder::kNoWaveDevice);
  ASSERT_FALSE(m_boxes.shown.empty());
  EXPECT_EQ(m_boxes.shown.back().text, "Can't open WAVE In Device!");
  EXPECT_TRUE(PumpUntil([&] { return ThreadCount() <= threads; })) << ThreadCount() << " > " << threads;
}

TEST_F(WaveRecorderTest, TenCyclesAndAFailedStartLeaveNoThreadOrHandleBehind) {
  CWaveRecorder recorder;
  // One cycle first: the platform starts threads of its own on first use.
  RecordAtLeast(recorder, 0, m_folder.PathOf("warm.wav"), 1);
  recorder.Stop(nullptr);
  const int threads = ThreadCount();
  const DWORD handles = HandleCount();

  for (int i = 0; i < 10; ++i) {
    const std::string path = m_folder.PathOf("cycle" + std::to_string(i) + ".wav");
    RecordAtLeast(recorder, i % 2, path, 1);
    recorder.Stop(nullptr);
    CheckRecording(path, recorder.DataBytes());
  }
  // Wine's own sound threads end a moment after a device closes.
  EXPECT_TRUE(PumpUntil([&] { return ThreadCount() <= threads; })) << ThreadCount() << " > " << threads;
  EXPECT_EQ(HandleCount(), handles);

  // A file that cannot be created: start fails and releases what open took.
  ASSERT_EQ(recorder.Open(nullptr, 0), 1);
  EXPECT_EQ(recorder.Start(nullptr, m_folder.PathOf("missing\\folder\\take.wav")), 0);
  EXPECT_FALSE(recorder.IsRecording());
  EXPECT_EQ(recorder.DeviceId(), CWaveRecorder::kNoWaveDevice);
  EXPECT_TRUE(PumpUntil([&] { return ThreadCount() <= threads; })) << ThreadCount() << " > " << threads;
  EXPECT_EQ(HandleCount(), handles);
  ExpectOnlyMixerWarnings();
}

TEST_F(WaveRecorderTest, ATakeStandsStillAtTheDataLimitAndStopCompletesAValidFile) {
  CWaveRecorder recorder;
  // Not a multiple of a frame: the limit is taken in whole frames.
  const std::uint32_t limit = kWaveBufferBytes * 3 + 1002;
  recorder.SetDataLimit(limit);
  const std::string path = m_folder.PathOf("limit.wav");
  RecordAtLeast(recorder, 0, path, limit & ~3u);
  // Standing still: nothing more is taken however long it runs.
  EXPECT_FALSE(PumpUntil([&] { return recorder.DataBytes() > (limit & ~3u); }, 1000));
  recorder.Stop(nullptr);
  EXPECT_EQ(recorder.DataBytes(), limit & ~3u);
  CheckRecording(path, limit & ~3u);
  ExpectOnlyMixerWarnings();
}

TEST_F(WaveRecorderTest, ADriverThatKeepsItsBuffersIsGivenUpOnAndTheSoundSoFarIsKept) {
  CWaveRecorder recorder;
  // A "reset" that only stops the device: the driver keeps what is queued.
  recorder.SetResetCall(waveInStop);
  recorder.SetBufferWait(500);
  const std::string path = m_folder.PathOf("kept.wav");
  RecordAtLeast(recorder, 0, path, kWaveBufferBytes);
  recorder.Stop(nullptr);

  EXPECT_FALSE(recorder.IsRecording());
  ASSERT_FALSE(m_boxes.shown.empty());
  EXPECT_EQ(m_boxes.shown.back().text,
            "The recording could not be ended cleanly; the sound recorded so far was kept.");
  EXPECT_EQ(m_boxes.shown.back().caption, "Quillmate");
  EXPECT_EQ(m_boxes.shown.back().style, kMbOk | kMbIconWarning);
  m_boxes.shown.pop_back();
  const std::uint32_t kept = recorder.DataBytes();
  CheckRecording(path, kept);

  // The recorder records again afterwards.
  recorder.SetResetCall(waveInReset);
  recorder.SetBufferWait(5000);
  const std::string again = m_folder.PathOf("again.wav");
  RecordAtLeast(recorder, 0, again, 1);
  recorder.Stop(nullptr);
  CheckRecording(again, recorder.DataBytes());
  ExpectOnlyMixerWarnings();
}

namespace {

// A device that refuses to close the first ten times; then it closes.
int gCloseRefusals = 0;
HWAVEIN gRefusedDevice = nullptr;
MMRESULT WINAPI RefuseToClose(HWAVEIN device) {
  gRefusedDevice = device;
  if (++gCloseRefusals <= 10) return WAVERR_STILLPLAYING;
  return waveInClose(device);
}

}  // namespace

TEST_F(WaveRecorderTest, ADeviceThatWillNotCloseIsTriedThreeTimesThenLeftAndTheTakeIsKept) {
  CWaveRecorder recorder;
  recorder.SetCloseCall(RefuseToClose);
  const std::string path = m_folder.PathOf("unclosed.wav");
  RecordAtLeast(recorder, 0, path, 1);
  gCloseRefusals = 0;
  EXPECT_TRUE(recorder.Stop(nullptr));
  EXPECT_FALSE(recorder.IsRecording());
  EXPECT_EQ(gCloseRefusals, CWaveRecorder::kCloseTries);
  std::vector<std::string> texts;
  for (const ShownBox& box : m_boxes.shown) {
    if (!kMixerWarnings.count(box.text)) texts.push_back(box.text);
  }
  const std::vector<std::string> expected = {
      "Can't close WAVE In Device!", "Can't close WAVE In Device!", "Can't close WAVE In Device!",
      "The sound device could not be closed; it may not record again until Quillmate is restarted."};
  EXPECT_EQ(texts, expected);
  CheckRecording(path, recorder.DataBytes());
  // The device left behind is closed here, so the next tests find it free.
  recorder.SetCloseCall(waveInClose);
  if (gRefusedDevice) waveInClose(gRefusedDevice);
}
