// Not a test: the screen capture's rate and processor share. For each
// picture size (640 x 480 and the full screen) and each asked rate, a
// capture of some seconds into a scratch AVI, with sound from the run's
// sound device; prints the distinct pictures grabbed per second against the
// rate asked, the frames written (late pictures fill the slots that came
// due) and the process's processor time as a share of one core and of the
// machine. Figures only; run by scripts/bench-wine.sh. Argument: seconds per
// capture (default 10).
#include <windows.h>
#include <vfw.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "Media/CCaptureWindow.h"
#include "Media/CScreenCaptureThread.h"
#include "Media/CScreenCaptureWindow.h"
#include "Records/MessageBoxSeam.h"

namespace {

double Seconds(const FILETIME& time) {
  ULARGE_INTEGER value;
  value.LowPart = time.dwLowDateTime;
  value.HighPart = time.dwHighDateTime;
  return static_cast<double>(value.QuadPart) / 1e7;
}

double ProcessorSeconds() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  return Seconds(kernel) + Seconds(user);
}

void Measure(HWND host, const std::string& path, SIZE size, int framesPerSecond, UINT seconds) {
  CCaptureWindow capture;
  if (!capture.Create(host, 1, 0, 0, 1, 1) || !capture.Connect(0)) {
    std::printf("no capture window\n");
    return;
  }
  BITMAPINFOHEADER format = ScreenCaptureFrameFormat(size.cx, size.cy);
  capture.Send(WM_CAP_SET_VIDEOFORMAT, sizeof format, reinterpret_cast<LPARAM>(&format));
  capture.Send(WM_CAP_FILE_SET_CAPTURE_FILEA, 0, reinterpret_cast<LPARAM>(path.c_str()));
  CAPTUREPARMS parameters = {};
  capture.Send(WM_CAP_GET_SEQUENCE_SETUP, sizeof parameters, reinterpret_cast<LPARAM>(&parameters));
  parameters.dwRequestMicroSecPerFrame = 1000000 / framesPerSecond;
  parameters.fYield = TRUE;
  parameters.fLimitEnabled = TRUE;
  parameters.wTimeLimit = seconds;
  parameters.vKeyAbort = 0;
  parameters.fAbortLeftMouse = FALSE;
  parameters.fAbortRightMouse = FALSE;
  capture.Send(WM_CAP_SET_SEQUENCE_SETUP, sizeof parameters, reinterpret_cast<LPARAM>(&parameters));

  const double processorBefore = ProcessorSeconds();
  if (!capture.Send(WM_CAP_SEQUENCE)) {
    std::printf("capture refused\n");
    return;
  }
  CAPSTATUS status = {};
  MSG message;
  do {
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    capture.Send(WM_CAP_GET_STATUS, sizeof status, reinterpret_cast<LPARAM>(&status));
  } while (status.fCapturingNow);
  const double processor = ProcessorSeconds() - processorBefore;
  const double elapsed = status.dwCurrentTimeElapsedMS / 1000.0;
  const DWORD grabbed = ScreenCaptureFramesGrabbed(capture.Handle());
  SYSTEM_INFO system;
  GetSystemInfo(&system);
  std::printf("%4ld x %4ld  asked %2d/s  grabbed %6.2f/s  written %6.2f/s  (%lu frames, %lu dropped, %.2f s)  "
              "processor %5.1f%% of a core, %5.1f%% of %lu cores\n",
              size.cx, size.cy, framesPerSecond, grabbed / elapsed, status.dwCurrentVideoFrame / elapsed,
              static_cast<unsigned long>(status.dwCurrentVideoFrame),
              static_cast<unsigned long>(status.dwCurrentVideoFramesDropped), elapsed, 100.0 * processor / elapsed,
              100.0 * processor / elapsed / system.dwNumberOfProcessors,
              static_cast<unsigned long>(system.dwNumberOfProcessors));
  std::fflush(stdout);
  DeleteFileA(path.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  const UINT seconds = argc > 1 ? static_cast<UINT>(std::atoi(argv[1])) : 10;
  // A failed write would show a box; here it only prints.
  const ScopedMessageBoxScript boxes([](void*, const char* text, const char*, unsigned) {
    std::printf("box: %s\n", text);
    return kIdOk;
  });
  HWND host = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, GetModuleHandleA(nullptr),
                              nullptr);
  char folder[MAX_PATH] = {};
  GetTempPathA(sizeof folder, folder);
  const std::string path = std::string(folder) + "qm-screen-capture-benchmark.avi";
  const SIZE screen = {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  std::printf("screen capture, %u s per capture, with sound:\n", seconds);
  for (SIZE size : {SIZE{640, 480}, screen}) {
    for (int rate : {15, 30}) Measure(host, path, size, rate, seconds);
  }
  DestroyWindow(host);
  return 0;
}
