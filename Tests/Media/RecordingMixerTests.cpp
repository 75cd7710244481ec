// The recorder's mixer step against a stand-in mixer: what it reports for a
// device without mixer, wave-in line or inputs, and that it never looks up or
// changes a control, of a line it found or of one it did not.
#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>

#include <string>
#include <vector>

#include "Media/RecordingMixer.h"
#include "Support/RecordedMessageBoxes.h"

using namespace qmtest;

namespace {

// What the stand-in mixer has and what was asked of it.
struct StandInMixer {
  bool opens = true;
  bool hasLine = true;
  DWORD connections = 2;
  std::vector<std::string> calls;
};
StandInMixer* gMixer = nullptr;
const HMIXER kMixer = reinterpret_cast<HMIXER>(static_cast<UINT_PTR>(0x4d58));

MMRESULT WINAPI Open(HMIXER* mixer, UINT, DWORD_PTR, DWORD_PTR, DWORD) {
  gMixer->calls.push_back("open");
  *mixer = gMixer->opens ? kMixer : nullptr;
  return gMixer->opens ? MMSYSERR_NOERROR : MMSYSERR_NODRIVER;
}

MMRESULT WINAPI GetLineInfo(HMIXEROBJ, MIXERLINEA* line, DWORD) {
  gMixer->calls.push_back("line");
  if (!gMixer->hasLine) return MIXERR_INVALLINE;
  line->dwLineID = 0xFFFF0000;
  line->cChannels = 2;
  line->cConnections = gMixer->connections;
  lstrcpynA(line->szName, "Recording", sizeof line->szName);
  return MMSYSERR_NOERROR;
}

MMRESULT WINAPI Close(HMIXER) {
  gMixer->calls.push_back("close");
  return MMSYSERR_NOERROR;
}

MMRESULT WINAPI GetLineControls(HMIXEROBJ, MIXERLINECONTROLSA* controls, DWORD) {
  gMixer->calls.push_back("controls of line " + std::to_string(controls->dwLineID));
  return MMSYSERR_NOERROR;
}

MMRESULT WINAPI SetControlDetails(HMIXEROBJ, MIXERCONTROLDETAILS* details, DWORD) {
  gMixer->calls.push_back("set control " + std::to_string(details->dwControlID));
  return MMSYSERR_NOERROR;
}

class RecordingMixerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gMixer = &m_mixer;
    m_saved = gRecordingMixerCalls;
    gRecordingMixerCalls = {Open, GetLineInfo, Close, GetLineControls, SetControlDetails};
  }
  void TearDown() override {
    gRecordingMixerCalls = m_saved;
    gMixer = nullptr;
  }

  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const ShownBox& box : m_boxes.shown) texts.push_back(box.text);
    return texts;
  }

  StandInMixer m_mixer;
  RecordingMixerCalls m_saved{};
  RecordedMessageBoxes m_boxes;
};

}  // namespace

TEST_F(RecordingMixerTest, TheStepOnlyLooksAndReportsWhatADeviceLacksButNeverTouchesAControl) {
  const HWND owner = GetDesktopWindow();
  const auto waveIn = reinterpret_cast<HWAVEIN>(static_cast<UINT_PTR>(7));
  const std::vector<std::string> looked = {"open", "line"};

  // A line with inputs: nothing to say, and its mute is left as it is.
  EXPECT_EQ(PrepareRecordingMixer(owner, waveIn), kMixer);
  EXPECT_EQ(m_mixer.calls, looked);
  EXPECT_TRUE(m_boxes.shown.empty());

  // A line without inputs.
  m_mixer.calls.clear();
  m_mixer.connections = 0;
  EXPECT_EQ(PrepareRecordingMixer(owner, waveIn), kMixer);
  EXPECT_EQ(m_mixer.calls, looked);
  EXPECT_EQ(Texts(), std::vector<std::string>{"ERROR: There are no WAVE inputs to adjust!"});

  // No wave-in line: said once, and nothing is done to "line 0", which is
  // some other line; its inputs are not counted either.
  m_mixer.calls.clear();
  m_boxes.shown.clear();
  m_mixer.hasLine = false;
  EXPECT_EQ(PrepareRecordingMixer(owner, waveIn), kMixer);
  EXPECT_EQ(m_mixer.calls, looked);
  EXPECT_EQ(Texts(), std::vector<std::string>{"Device does not have a WAVE recording control!"});

  // No mixer at all.
  m_mixer.calls.clear();
  m_boxes.shown.clear();
  m_mixer.opens = false;
  EXPECT_EQ(PrepareRecordingMixer(owner, waveIn), nullptr);
  EXPECT_EQ(m_mixer.calls, std::vector<std::string>{"open"});
  ASSERT_EQ(m_boxes.shown.size(), 1u);
  EXPECT_EQ(m_boxes.shown[0].text, "Device does not have mixer support!");
  EXPECT_EQ(m_boxes.shown[0].owner, owner);
  EXPECT_EQ(m_boxes.shown[0].caption, "Quillmate");
  EXPECT_EQ(m_boxes.shown[0].style, kMbOk | kMbIconWarning);
}
