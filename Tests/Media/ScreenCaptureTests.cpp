// The screen capture window driven for real under Wine through the capture
// messages: a region covered by a window of a known colour and the known
// sound signal of the test sound device go into an AVI file that is read
// back chunk by chunk (AviFileReader, not the platform's AVI functions).
#include <gtest/gtest.h>

#include <windows.h>
#include <vfw.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <string>
#include <vector>

#include "Media/CAviCaptureFile.h"
#include "Media/CCaptureWindow.h"
#include "Media/CScreenCaptureThread.h"
#include "Media/CScreenCaptureWindow.h"
#include "Support/AviFileReader.h"
#include "Support/CaptureSignal.h"
#include "Support/MessagePump.h"
#include "Support/RecordedMessageBoxes.h"
#include "Support/ScratchFolder.h"

using namespace qmtest;

namespace {

constexpr DWORD kCaptureWaitMs = 30000;
constexpr COLORREF kRegionColour = RGB(0x30, 0xA0, 0x50);

// Status texts as the capture window reported them, on the test's thread.
std::vector<std::string> gStatusTexts;
std::vector<std::string> gErrorTexts;
LRESULT CALLBACK RecordStatus(HWND, int, LPCSTR text) {
  gStatusTexts.push_back(text ? text : "");
  return TRUE;
}
LRESULT CALLBACK RecordError(HWND, int, LPCSTR text) {
  gErrorTexts.push_back(text ? text : "");
  return TRUE;
}
std::atomic<int> gYields{0};
LRESULT CALLBACK CountYield(HWND) {
  ++gYields;
  return TRUE;
}

// A topmost borderless window of one colour covering a screen rectangle.
class ColouredCover {
 public:
  ColouredCover(int width, int height) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = CreateSolidBrush(kRegionColour);
    windowClass.lpszClassName = "QuillmateTestCover";
    RegisterClassA(&windowClass);
    m_window = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "QuillmateTestCover", "", WS_POPUP | WS_VISIBLE, 0,
                               0, width, height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    UpdateWindow(m_window);
    PumpMessages();
  }
  ~ColouredCover() { DestroyWindow(m_window); }

 private:
  HWND m_window;
};

// A host for the capture window, away from the captured region.
class CaptureHost {
 public:
  CaptureHost() {
    m_window = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 900, 700, 200, 150, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
  }
  ~CaptureHost() { DestroyWindow(m_window); }
  HWND Handle() const { return m_window; }

 private:
  HWND m_window;
};

CAPSTATUS Status(CCaptureWindow& capture) {
  CAPSTATUS status = {};
  capture.Send(WM_CAP_GET_STATUS, sizeof status, reinterpret_cast<LPARAM>(&status));
  return status;
}

// Every pixel of every frame is the region's colour (32-bit, BGR and a
// fourth byte).
std::string CheckFramesColour(const AviStream& video, int width, int height) {
  const std::size_t stride = static_cast<std::size_t>(width) * 4;
  for (std::size_t n = 0; n < video.chunks.size(); ++n) {
    const auto& frame = video.chunks[n];
    if (frame.size() != stride * height) return "frame " + std::to_string(n) + " has the wrong size";
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        const unsigned char* pixel = &frame[y * stride + x * 4];
        if (pixel[0] != GetBValue(kRegionColour) || pixel[1] != GetGValue(kRegionColour) ||
            pixel[2] != GetRValue(kRegionColour)) {
          return "frame " + std::to_string(n) + " pixel " + std::to_string(x) + "," + std::to_string(y);
        }
      }
    }
  }
  return "";
}

std::vector<std::uint32_t> SoundFrames(const AviStream& sound) {
  std::vector<std::uint32_t> frames;
  for (const auto& chunk : sound.chunks) {
    for (std::size_t at = 0; at + 4 <= chunk.size(); at += 4) {
      frames.push_back(chunk[at] | chunk[at + 1] << 8 | chunk[at + 2] << 16 |
                       static_cast<std::uint32_t>(chunk[at + 3]) << 24);
    }
  }
  return frames;
}

class ScreenCaptureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gStatusTexts.clear();
    gErrorTexts.clear();
    gYields = 0;
  }
  void TearDown() override { CAviCaptureFile::FailWritesAfter(-1); }

  // Connects our driver (listed after the platform's, which Wine has none
  // of), sets the file and the background capture without abort keys.
  void Prepare(CCaptureWindow& capture, const std::string& path, UINT timeLimit) {
    ASSERT_TRUE(capture.Create(m_host.Handle(), 1, 0, 0, 200, 150));
    std::string description, version;
    ASSERT_TRUE(capture.DriverDescription(0, description, version));
    EXPECT_EQ(description, kScreenCaptureDescription);
    EXPECT_FALSE(capture.DriverDescription(1, description, version));
    capture.Send(WM_CAP_SET_CALLBACK_STATUSA, 0, reinterpret_cast<LPARAM>(RecordStatus));
    capture.Send(WM_CAP_SET_CALLBACK_ERRORA, 0, reinterpret_cast<LPARAM>(RecordError));
    capture.Send(WM_CAP_SET_CALLBACK_YIELD, 0, reinterpret_cast<LPARAM>(CountYield));
    ASSERT_TRUE(capture.Connect(0));
    ASSERT_TRUE(capture.Send(WM_CAP_FILE_SET_CAPTURE_FILEA, 0, reinterpret_cast<LPARAM>(path.c_str())));
    CAPTUREPARMS parameters = {};
    ASSERT_TRUE(capture.Send(WM_CAP_GET_SEQUENCE_SETUP, sizeof parameters, reinterpret_cast<LPARAM>(&parameters)));
    EXPECT_EQ(parameters.dwRequestMicroSecPerFrame, 66667u);
    parameters.fYield = TRUE;
    parameters.fCaptureAudio = TRUE;
    parameters.vKeyAbort = 0;
    parameters.fAbortLeftMouse = FALSE;
    parameters.fAbortRightMouse = FALSE;
    parameters.fLimitEnabled = timeLimit != 0;
    parameters.wTimeLimit = timeLimit;
    ASSERT_TRUE(capture.Send(WM_CAP_SET_SEQUENCE_SETUP, sizeof parameters, reinterpret_cast<LPARAM>(&parameters)));
  }

  ScratchFolder m_folder{"capture"};
  CaptureHost m_host;
};

}  // namespace

TEST_F(ScreenCaptureTest, ATwoSecondCaptureHoldsTheRegionsColourAtTheAskedRateAndTheKnownSound) {
  const ColouredCover cover(640, 480);
  CCaptureWindow capture;
  const std::string path = m_folder.PathOf("two-seconds.avi");
  Prepare(capture, path, 2);
  CAPSTATUS status = Status(capture);
  EXPECT_EQ(status.uiImageWidth, 640u);
  EXPECT_EQ(status.uiImageHeight, 480u);
  // Not connected yet, nothing starts; connected it starts in the background.
  ASSERT_TRUE(capture.Send(WM_CAP_SEQUENCE));
  EXPECT_TRUE(Status(capture).fCapturingNow);
  ASSERT_TRUE(PumpUntil([&] { return !Status(capture).fCapturingNow; }, kCaptureWaitMs));
  status = Status(capture);
  EXPECT_GT(gYields.load(), 0);
  EXPECT_TRUE(gErrorTexts.empty());
  ASSERT_FALSE(gStatusTexts.empty());
  EXPECT_EQ(gStatusTexts.front(), "Live window");
  EXPECT_EQ(gStatusTexts.back(), "Capture End");

  const AviFile avi = ReadAviFile(path);
  ASSERT_EQ(avi.error, "");
  EXPECT_TRUE(avi.hasIndex);
  ASSERT_EQ(avi.streams.size(), 2u);
  const AviStream& video = avi.streams[0];
  const AviStream& sound = avi.streams[1];
  EXPECT_EQ(video.type, "vids");
  EXPECT_EQ(avi.width, 640u);
  EXPECT_EQ(avi.height, 480u);
  ASSERT_GE(video.format.size(), sizeof(BITMAPINFOHEADER));
  const auto* frame = reinterpret_cast<const BITMAPINFOHEADER*>(video.format.data());
  EXPECT_EQ(frame->biWidth, 640);
  EXPECT_EQ(frame->biHeight, 480);
  EXPECT_EQ(frame->biBitCount, 32);
  // 15 frames a second, and as many frames as the capture lasted.
  ASSERT_GT(video.scale, 0u);
  EXPECT_NEAR(static_cast<double>(video.rate) / video.scale, 15.0, 0.01);
  EXPECT_EQ(video.chunks.size(), status.dwCurrentVideoFrame);
  EXPECT_EQ(avi.totalFrames, video.chunks.size());
  const double seconds = status.dwCurrentTimeElapsedMS / 1000.0;
  EXPECT_GE(seconds, 2.0);
  EXPECT_LE(std::fabs(video.chunks.size() - 15.0 * seconds), std::ceil(seconds));
  EXPECT_EQ(CheckFramesColour(video, 640, 480), "");

  EXPECT_EQ(sound.type, "auds");
  ASSERT_GE(sound.format.size(), 16u);
  const auto* wave = reinterpret_cast<const WAVEFORMATEX*>(sound.format.data());
  EXPECT_EQ(wave->wFormatTag, WAVE_FORMAT_PCM);
  EXPECT_EQ(wave->nChannels, 2);
  EXPECT_EQ(wave->nSamplesPerSec, 44100u);
  EXPECT_EQ(wave->wBitsPerSample, 16);
  const std::vector<std::uint32_t> frames = SoundFrames(sound);
  EXPECT_FALSE(frames.empty());
  EXPECT_EQ(frames.size(), status.dwCurrentWaveSamples);
  EXPECT_EQ(CheckFramesOfSignal(frames, kSignalFrames), "");
}

TEST_F(ScreenCaptureTest, ACaptureThatCannotBeWrittenStopsReportsAndLeavesAValidAvi) {
  const ColouredCover cover(320, 240);
  CCaptureWindow capture;
  const std::string path = m_folder.PathOf("full-disk.avi");
  Prepare(capture, path, 0);
  BITMAPINFOHEADER format = {};
  ASSERT_EQ(capture.Send(WM_CAP_GET_VIDEOFORMAT, sizeof format, reinterpret_cast<LPARAM>(&format)),
            static_cast<LRESULT>(sizeof format));
  format.biWidth = 320;
  format.biHeight = 240;
  ASSERT_TRUE(capture.Send(WM_CAP_SET_VIDEOFORMAT, sizeof format, reinterpret_cast<LPARAM>(&format)));
  // Room for five frames and some sound, then the disk is full.
  CAviCaptureFile::FailWritesAfter(5LL * 320 * 240 * 4 + 176400);
  RecordedMessageBoxes boxes;
  ASSERT_TRUE(capture.Send(WM_CAP_SEQUENCE));
  ASSERT_TRUE(PumpUntil([&] { return !Status(capture).fCapturingNow; }, kCaptureWaitMs));

  const std::string failure = "The video could not be written; what was recorded so far was kept.";
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, failure);
  EXPECT_EQ(boxes.shown[0].caption, "Video Note");
  EXPECT_EQ(boxes.shown[0].style, kMbOk | kMbIconWarning);
  EXPECT_EQ(boxes.shown[0].owner, m_host.Handle());
  ASSERT_EQ(gErrorTexts.size(), 1u);
  EXPECT_EQ(gErrorTexts[0], failure);
  EXPECT_NE(std::find(gStatusTexts.begin(), gStatusTexts.end(), failure), gStatusTexts.end());
  // A stop now finds nothing running.
  EXPECT_FALSE(capture.Send(WM_CAP_STOP));

  const AviFile avi = ReadAviFile(path);
  ASSERT_EQ(avi.error, "");
  ASSERT_EQ(avi.streams.size(), 2u);
  EXPECT_GE(avi.streams[0].chunks.size(), 1u);
  EXPECT_LE(avi.streams[0].chunks.size(), 5u);
  EXPECT_EQ(avi.totalFrames, avi.streams[0].chunks.size());
  EXPECT_EQ(CheckFramesColour(avi.streams[0], 320, 240), "");
  EXPECT_EQ(CheckFramesOfSignal(SoundFrames(avi.streams[1]), kSignalFrames), "");
}

namespace {

// A stand-in for a platform with one camera: its window is a screen capture
// window too, so that both answer the capture messages.
class OneCameraProvider : public CCaptureProvider {
 public:
  bool DriverDescription(int index, std::string& description, std::string& version) const override {
    if (index != 0) return false;
    description = "Test Camera";
    version = "Version 2.0";
    return true;
  }
  HWND CreateCaptureWindow(HWND parent, int id, int x, int y, int width, int height) const override {
    ++made;
    return CreateScreenCaptureWindow(parent, id, x, y, width, height);
  }
  mutable int made = 0;
};

// Eleven cameras: more than the list holds.
class ElevenCamerasProvider : public OneCameraProvider {
 public:
  bool DriverDescription(int index, std::string& description, std::string& version) const override {
    if (index < 0 || index >= 11) return false;
    description = "Camera " + std::to_string(index);
    version = "1";
    return true;
  }
};

}  // namespace

TEST_F(ScreenCaptureTest, OurDriverFollowsThePlatformsAndConnectingItSwapsTheWindowKeepingWhatWasSet) {
  OneCameraProvider camera;
  CCaptureWindow capture({&camera, &ScreenCaptureProvider()});
  std::string description, version;
  ASSERT_TRUE(capture.DriverDescription(0, description, version));
  EXPECT_EQ(description, "Test Camera");
  ASSERT_TRUE(capture.DriverDescription(1, description, version));
  EXPECT_EQ(description + ",   " + version, "Quillmate Screen Capture,   Version 1.0");

  ASSERT_TRUE(capture.Create(m_host.Handle(), 1, 5, 6, 100, 80));
  EXPECT_EQ(camera.made, 1);
  const HWND cameraWindow = capture.Handle();
  capture.Send(WM_CAP_SET_CALLBACK_STATUSA, 0, reinterpret_cast<LPARAM>(RecordStatus));
  ASSERT_TRUE(capture.Send(WM_CAP_FILE_SET_CAPTURE_FILEA, 0, reinterpret_cast<LPARAM>("C:\\kept.avi")));
  ASSERT_TRUE(capture.Connect(0));
  EXPECT_EQ(capture.Handle(), cameraWindow);

  ASSERT_TRUE(capture.Connect(1));
  EXPECT_NE(capture.Handle(), cameraWindow);
  EXPECT_FALSE(IsWindow(cameraWindow));
  RECT place;
  GetWindowRect(capture.Handle(), &place);
  MapWindowPoints(nullptr, m_host.Handle(), reinterpret_cast<POINT*>(&place), 2);
  EXPECT_EQ(place.left, 5);
  EXPECT_EQ(place.top, 6);
  // The new window reports through the callback given to the old one.
  EXPECT_EQ(gStatusTexts, (std::vector<std::string>{"Live window", "Live window"}));
  char file[MAX_PATH] = {};
  capture.Send(WM_CAP_FILE_GET_CAPTURE_FILEA, sizeof file, reinterpret_cast<LPARAM>(file));
  EXPECT_STREQ(file, "C:\\kept.avi");

  ElevenCamerasProvider many;
  CCaptureWindow crowded({&many, &ScreenCaptureProvider()});
  EXPECT_TRUE(crowded.DriverDescription(9, description, version));
  EXPECT_EQ(description, "Camera 9");
  EXPECT_FALSE(crowded.DriverDescription(10, description, version));
}

namespace {

// A capture thread that hangs (in a driver, say): its yield waits until the
// test lets it go.
HANDLE gReleaseYield = nullptr;
std::atomic<bool> gYieldHeld{false};
LRESULT CALLBACK HangingYield(HWND) {
  gYieldHeld = true;
  WaitForSingleObject(gReleaseYield, 30000);
  return TRUE;
}

}  // namespace

TEST_F(ScreenCaptureTest, StopGivesUpOnAThreadThatDoesNotEndSaysSoAndTheThreadEndsLaterOnItsOwn) {
  RecordedMessageBoxes boxes;
  gReleaseYield = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  CScreenCaptureThread::SetStopWait(300);
  struct Restore {
    ~Restore() {
      CScreenCaptureThread::SetStopWait(CScreenCaptureThread::kStopWaitMs);
      SetEvent(gReleaseYield);
    }
  } restore;
  const std::string path = m_folder.PathOf("hanging.avi");
  {
    CCaptureWindow capture;
    Prepare(capture, path, 0);
    capture.Send(WM_CAP_SET_CALLBACK_YIELD, 0, reinterpret_cast<LPARAM>(HangingYield));
    ASSERT_TRUE(capture.Send(WM_CAP_SEQUENCE));
    ASSERT_TRUE(PumpUntil([] { return gYieldHeld.load(); }, kCaptureWaitMs));
    const DWORD before = GetTickCount();
    EXPECT_TRUE(capture.Send(WM_CAP_STOP));
    const DWORD waited = GetTickCount() - before;
    EXPECT_GE(waited, 250u);
    EXPECT_LT(waited, 5000u);
    EXPECT_FALSE(Status(capture).fCapturingNow);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text,
              "The capture did not end in time and was left to finish by itself; its video file may be incomplete.");
    EXPECT_EQ(boxes.shown[0].caption, "Video Note");
    EXPECT_EQ(boxes.shown[0].style, kMbOk | kMbIconWarning);
    ASSERT_FALSE(gErrorTexts.empty());
    // The window goes while the thread still hangs.
    capture.Destroy();
  }
  // Let go, the thread completes the file as usual.
  SetEvent(gReleaseYield);
  EXPECT_TRUE(PumpUntil([&] { return ReadAviFile(path).error.empty(); }, kCaptureWaitMs)) << ReadAviFile(path).error;
  CloseHandle(gReleaseYield);
  gReleaseYield = nullptr;
}
