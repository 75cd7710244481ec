// The screen capture window: its state, the capture messages it answers, its
// live preview and the end of a capture. What it captures, and how, is
// CScreenCaptureThread's.
#include "Media/CScreenCaptureWindow.h"

#include <mmsystem.h>
#include <vfw.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "Library/WindowClassDef.h"
#include "Media/CCaptureProvider.h"
#include "Media/CScreenCaptureThread.h"
#include "Media/CWaveFile.h"
#include "Media/ScreenCaptureFormatDialog.h"
#include "Records/MessageBoxSeam.h"

const char kScreenCaptureDescription[] = "Quillmate Screen Capture";
const char kScreenCaptureVersion[] = "Version 1.0";

namespace {

const char kClassName[] = "QuillmateScreenCapture";
constexpr UINT_PTR kPreviewTimer = 1;
constexpr UINT_PTR kProgressTimer = 2;
constexpr UINT kProgressMilliseconds = 1000;
// Posted by the capture thread when it ended by itself.
constexpr UINT kCaptureEnded = WM_APP + 40;

const char kWriteFailed[] = "The video could not be written; what was recorded so far was kept.";
const char kDidNotEnd[] =
    "The capture did not end in time and was left to finish by itself; its video file may be incomplete.";

struct CaptureState {
  HWND window = nullptr;
  bool connected = false;
  bool preview = false;
  UINT previewMilliseconds = 0;
  POINT scroll = {};
  SIZE size = {640, 480};
  CAPTUREPARMS parameters = {};
  std::vector<BYTE> soundFormat;
  DWORD compressor = 0;
  LONG quality = 0;
  bool compressorChosen = false;  // by the user, in the chooser
  std::string file;
  CAPSTATUSCALLBACKA status = nullptr;
  CAPERRORCALLBACKA error = nullptr;
  CAPYIELDCALLBACK yield = nullptr;
  CScreenCaptureThread capture;
  bool capturing = false;
};

CaptureState* StateOf(HWND window) {
  return reinterpret_cast<CaptureState*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

std::vector<BYTE> DefaultSoundFormat() {
  const WAVEFORMATEX format = RecordingFormat();
  const BYTE* bytes = reinterpret_cast<const BYTE*>(&format);
  return std::vector<BYTE>(bytes, bytes + sizeof format);
}

CAPTUREPARMS DefaultParameters() {
  CAPTUREPARMS parameters = {};
  parameters.dwRequestMicroSecPerFrame = 66667;  // 15 frames a second
  parameters.wPercentDropForError = 10;
  parameters.dwIndexSize = 34952;
  parameters.wNumVideoRequested = 5;
  parameters.fCaptureAudio = TRUE;
  parameters.wNumAudioRequested = 4;
  parameters.vKeyAbort = VK_ESCAPE;
  parameters.fAbortLeftMouse = TRUE;
  parameters.fAbortRightMouse = TRUE;
  return parameters;
}

BITMAPINFOHEADER FrameFormat(const CaptureState& state) {
  return ScreenCaptureFrameFormat(state.size.cx, state.size.cy);
}

SIZE ScreenSize() {
  return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

void ReportStatus(CaptureState& state, int id, const char* text) {
  if (state.status) state.status(state.window, id, text);
}

// Copies a structure the caller gave with its size: at most what both know.
template <typename T>
LRESULT CopyOut(const T& value, WPARAM size, LPARAM destination) {
  if (!destination) return FALSE;
  std::memcpy(reinterpret_cast<void*>(destination), &value, size < sizeof value ? size : sizeof value);
  return TRUE;
}

void UpdatePreviewTimer(CaptureState& state) {
  if (state.connected && state.preview && state.previewMilliseconds) {
    SetTimer(state.window, kPreviewTimer, state.previewMilliseconds, nullptr);
  } else {
    KillTimer(state.window, kPreviewTimer);
    InvalidateRect(state.window, nullptr, TRUE);
  }
}

// The live region, drawn at the scroll position (the part of the picture
// that the window shows).
void DrawPreview(CaptureState& state, HDC target) {
  HDC screen = GetDC(nullptr);
  BitBlt(target, 0, 0, state.size.cx - state.scroll.x, state.size.cy - state.scroll.y, screen, state.scroll.x,
         state.scroll.y, SRCCOPY);
  ReleaseDC(nullptr, screen);
}

void ReportProgress(CaptureState& state) {
  char text[160];
  const DWORD ms = state.capture.ElapsedMilliseconds();
  std::snprintf(text, sizeof text, "Captured %lu frames (%lu dropped) %lu.%03lu sec.",
                static_cast<unsigned long>(state.capture.FramesWritten()),
                static_cast<unsigned long>(state.capture.FramesDropped()), static_cast<unsigned long>(ms / 1000),
                static_cast<unsigned long>(ms % 1000));
  ReportStatus(state, state.capture.SoundCaptured() ? IDS_CAP_STAT_VIDEOAUDIO : IDS_CAP_STAT_VIDEOONLY, text);
}

// An installed compressor that accepts the frames, or 0 when none does.
// Uncompressed frames fill a disk fast (640 x 480 at 15 a second is 18 MB a
// second), so one is used until the user chooses otherwise.
DWORD LocateCompressor(const BITMAPINFOHEADER& frame) {
  BITMAPINFOHEADER input = frame;
  HIC compressor = ICLocate(ICTYPE_VIDEO, 0, &input, nullptr, ICMODE_COMPRESS);
  if (!compressor) return 0;
  ICINFO info = {};
  info.dwSize = sizeof info;
  const DWORD fourcc = ICGetInfo(compressor, &info, sizeof info) ? info.fccHandler : 0;
  ICClose(compressor);
  return fourcc;
}

// What the chooser opens on and a capture uses: the user's choice, or the
// compressor found for the current frame size.
void PreselectCompressor(CaptureState& state) {
  if (state.compressorChosen) return;
  state.compressor = LocateCompressor(FrameFormat(state));
  state.quality = ICQUALITY_DEFAULT;
}

// Ends a running capture: waits, for a bounded time, for the thread, which
// completes the file, then reports the outcome on this thread.
void EndCapture(CaptureState& state) {
  if (!state.capturing) return;
  const bool ended = state.capture.Stop();
  state.capturing = false;
  KillTimer(state.window, kProgressTimer);
  ReportProgress(state);
  if (!ended) {
    if (state.error) state.error(state.window, IDS_CAP_FILE_WRITE_ERROR, kDidNotEnd);
    ShowMessageBox(GetAncestor(state.window, GA_ROOT), kDidNotEnd, "Video Note", kMbOk | kMbIconWarning);
  } else if (state.capture.WriteFailed()) {
    if (state.error) state.error(state.window, IDS_CAP_FILE_WRITE_ERROR, kWriteFailed);
    ReportStatus(state, IDS_CAP_FILE_WRITE_ERROR, kWriteFailed);
    ShowMessageBox(GetAncestor(state.window, GA_ROOT), kWriteFailed, "Video Note", kMbOk | kMbIconWarning);
  }
  ReportStatus(state, IDS_CAP_END, "Capture End");
}

LRESULT StartCapture(CaptureState& state) {
  if (!state.connected || state.capturing || state.file.empty()) return FALSE;
  ScreenCaptureJob job;
  job.path = state.file;
  job.region = {0, 0, state.size.cx, state.size.cy};
  job.microSecondsPerFrame = state.parameters.dwRequestMicroSecPerFrame;
  if (state.parameters.fCaptureAudio) job.soundFormat = state.soundFormat;
  PreselectCompressor(state);
  job.compressor = state.compressor;
  job.compressorPreselected = !state.compressorChosen;
  job.quality = state.quality;
  job.timeLimitSeconds = state.parameters.fLimitEnabled ? state.parameters.wTimeLimit : 0;
  job.abortKey = state.parameters.vKeyAbort;
  job.abortLeftMouse = state.parameters.fAbortLeftMouse != FALSE;
  job.abortRightMouse = state.parameters.fAbortRightMouse != FALSE;
  job.yield = state.yield;
  job.window = state.window;
  job.endedMessage = kCaptureEnded;
  if (!state.capture.Start(job)) return FALSE;
  state.capturing = true;
  ReportStatus(state, IDS_CAP_BEGIN, "Capture Start");
  SetTimer(state.window, kProgressTimer, kProgressMilliseconds, nullptr);
  if (state.parameters.fYield) return TRUE;
  // Without yield the sequence returns when the capture has ended, as the
  // platform's does; the window's own messages keep flowing meanwhile.
  MSG message;
  while (state.capturing) {
    if (!GetMessageA(&message, nullptr, 0, 0)) {
      PostQuitMessage(static_cast<int>(message.wParam));
      EndCapture(state);
      break;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return TRUE;
}

void Disconnect(CaptureState& state) {
  EndCapture(state);
  state.connected = false;
  state.preview = false;
  UpdatePreviewTimer(state);
}

LRESULT GetStatus(CaptureState& state, WPARAM size, LPARAM destination) {
  CAPSTATUS status = {};
  status.uiImageWidth = state.connected ? state.size.cx : 0;
  status.uiImageHeight = state.connected ? state.size.cy : 0;
  status.fLiveWindow = state.preview;
  status.ptScroll = state.scroll;
  status.fAudioHardware = waveInGetNumDevs() > 0;
  status.fCapFileExists = !state.file.empty() && GetFileAttributesA(state.file.c_str()) != INVALID_FILE_ATTRIBUTES;
  status.dwCurrentVideoFrame = state.capture.FramesWritten();
  status.dwCurrentVideoFramesDropped = state.capture.FramesDropped();
  status.dwCurrentWaveSamples = state.capture.SoundBlocks();
  status.dwCurrentTimeElapsedMS = state.capture.ElapsedMilliseconds();
  status.fCapturingNow = state.capturing;
  status.wNumVideoAllocated = state.parameters.wNumVideoRequested;
  status.wNumAudioAllocated = state.parameters.wNumAudioRequested;
  return CopyOut(status, size, destination);
}

LRESULT GetCaps(CaptureState& state, WPARAM size, LPARAM destination) {
  CAPDRIVERCAPS caps = {};
  caps.fHasDlgVideoFormat = TRUE;
  caps.fCaptureInitialized = state.connected;
  return state.connected ? CopyOut(caps, size, destination) : FALSE;
}

LRESULT GetVideoFormat(CaptureState& state, WPARAM size, LPARAM destination) {
  if (!state.connected) return 0;
  const BITMAPINFOHEADER header = FrameFormat(state);
  if (!destination) return sizeof header;
  CopyOut(header, size, destination);
  return size < sizeof header ? size : sizeof header;
}

LRESULT SetVideoFormat(CaptureState& state, WPARAM size, LPARAM source) {
  if (!state.connected || state.capturing || !source || size < sizeof(BITMAPINFOHEADER)) return FALSE;
  const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(source);
  const SIZE screen = ScreenSize();
  if (header->biCompression != BI_RGB || header->biBitCount != kScreenCaptureBits || header->biWidth <= 0 ||
      header->biHeight <= 0 || header->biWidth > screen.cx || header->biHeight > screen.cy) {
    return FALSE;
  }
  state.size = {header->biWidth, header->biHeight};
  InvalidateRect(state.window, nullptr, TRUE);
  return TRUE;
}

LRESULT GetAudioFormat(const CaptureState& state, WPARAM size, LPARAM destination) {
  if (!destination) return static_cast<LRESULT>(state.soundFormat.size());
  const std::size_t count = size < state.soundFormat.size() ? size : state.soundFormat.size();
  std::memcpy(reinterpret_cast<void*>(destination), state.soundFormat.data(), count);
  return static_cast<LRESULT>(count);
}

LRESULT SetAudioFormat(CaptureState& state, WPARAM size, LPARAM source) {
  if (state.capturing || !source || size < sizeof(PCMWAVEFORMAT)) return FALSE;
  const BYTE* bytes = reinterpret_cast<const BYTE*>(source);
  state.soundFormat.assign(bytes, bytes + size);
  if (state.soundFormat.size() < sizeof(WAVEFORMATEX)) state.soundFormat.resize(sizeof(WAVEFORMATEX), 0);
  return TRUE;
}

LRESULT ChooseCompression(CaptureState& state) {
  if (!state.connected) return FALSE;
  BITMAPINFO input = {};
  input.bmiHeader = FrameFormat(state);
  PreselectCompressor(state);
  COMPVARS choice = {};
  choice.cbSize = sizeof choice;
  choice.dwFlags = ICMF_COMPVARS_VALID;
  choice.fccHandler = state.compressor;
  choice.lQ = state.quality ? state.quality : ICQUALITY_DEFAULT;
  if (!ICCompressorChoose(GetAncestor(state.window, GA_ROOT), ICMF_CHOOSE_KEYFRAME | ICMF_CHOOSE_DATARATE, &input,
                          nullptr, &choice, nullptr)) {
    return FALSE;
  }
  state.compressor = choice.fccHandler;
  state.quality = choice.lQ;
  state.compressorChosen = true;
  ICCompressorFree(&choice);
  return TRUE;
}

LRESULT ChooseFormat(CaptureState& state) {
  if (!state.connected || state.capturing) return FALSE;
  SIZE chosen = state.size;
  if (!RunScreenCaptureFormatDialog(GetAncestor(state.window, GA_ROOT), chosen)) return FALSE;
  state.size = chosen;
  InvalidateRect(state.window, nullptr, TRUE);
  return TRUE;
}

LRESULT HandleCaptureMessage(CaptureState& state, UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
  handled = true;
  switch (message) {
    case WM_CAP_DRIVER_CONNECT:
      state.connected = wParam == 0;
      if (state.connected) ReportStatus(state, IDS_CAP_STAT_LIVE_MODE, "Live window");
      return state.connected;
    case WM_CAP_DRIVER_DISCONNECT:
      Disconnect(state);
      return TRUE;
    case WM_CAP_DRIVER_GET_NAMEA:
      if (!state.connected || !lParam) return FALSE;
      lstrcpynA(reinterpret_cast<char*>(lParam), kScreenCaptureDescription, static_cast<int>(wParam));
      return TRUE;
    case WM_CAP_DRIVER_GET_CAPS:
      return GetCaps(state, wParam, lParam);
    case WM_CAP_GET_STATUS:
      return GetStatus(state, wParam, lParam);
    case WM_CAP_SET_CALLBACK_STATUSA:
      state.status = reinterpret_cast<CAPSTATUSCALLBACKA>(lParam);
      return TRUE;
    case WM_CAP_SET_CALLBACK_ERRORA:
      state.error = reinterpret_cast<CAPERRORCALLBACKA>(lParam);
      return TRUE;
    case WM_CAP_SET_CALLBACK_YIELD:
      // Read by the capture thread only when a capture starts.
      state.yield = reinterpret_cast<CAPYIELDCALLBACK>(lParam);
      return TRUE;
    case WM_CAP_GET_SEQUENCE_SETUP:
      return CopyOut(state.parameters, wParam, lParam);
    case WM_CAP_SET_SEQUENCE_SETUP:
      if (state.capturing || !lParam) return FALSE;
      std::memcpy(&state.parameters, reinterpret_cast<const void*>(lParam),
                  wParam < sizeof state.parameters ? wParam : sizeof state.parameters);
      return TRUE;
    case WM_CAP_FILE_SET_CAPTURE_FILEA:
      if (state.capturing || !lParam) return FALSE;
      state.file = reinterpret_cast<const char*>(lParam);
      return TRUE;
    case WM_CAP_FILE_GET_CAPTURE_FILEA:
      if (!lParam || wParam == 0) return FALSE;
      lstrcpynA(reinterpret_cast<char*>(lParam), state.file.c_str(), static_cast<int>(wParam));
      return TRUE;
    case WM_CAP_GET_AUDIOFORMAT:
      return GetAudioFormat(state, wParam, lParam);
    case WM_CAP_SET_AUDIOFORMAT:
      return SetAudioFormat(state, wParam, lParam);
    case WM_CAP_GET_VIDEOFORMAT:
      return GetVideoFormat(state, wParam, lParam);
    case WM_CAP_SET_VIDEOFORMAT:
      return SetVideoFormat(state, wParam, lParam);
    case WM_CAP_DLG_VIDEOFORMAT:
      return ChooseFormat(state);
    case WM_CAP_DLG_VIDEOSOURCE:
    case WM_CAP_DLG_VIDEODISPLAY:
      return FALSE;  // the screen has no source or display settings of its own
    case WM_CAP_DLG_VIDEOCOMPRESSION:
      return ChooseCompression(state);
    case WM_CAP_SET_PREVIEW:
      if (!state.connected) return FALSE;
      state.preview = wParam != 0;
      UpdatePreviewTimer(state);
      return TRUE;
    case WM_CAP_SET_PREVIEWRATE:
      state.previewMilliseconds = static_cast<UINT>(wParam);
      UpdatePreviewTimer(state);
      return TRUE;
    case WM_CAP_SET_SCROLL:
      if (!lParam) return FALSE;
      state.scroll = *reinterpret_cast<const POINT*>(lParam);
      InvalidateRect(state.window, nullptr, FALSE);
      return TRUE;
    case WM_CAP_SEQUENCE:
      return StartCapture(state);
    case WM_CAP_STOP:
    case WM_CAP_ABORT:
      if (!state.capturing) return FALSE;
      EndCapture(state);
      return TRUE;
    default:
      handled = false;
      return 0;
  }
}

LRESULT CALLBACK CaptureWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* state = new CaptureState();
    state->window = window;
    state->parameters = DefaultParameters();
    state->soundFormat = DefaultSoundFormat();
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
  }
  CaptureState* state = StateOf(window);
  if (!state) return DefWindowProcA(window, message, wParam, lParam);
  bool handled = false;
  const LRESULT result = HandleCaptureMessage(*state, message, wParam, lParam, handled);
  if (handled) return result;
  switch (message) {
    case WM_TIMER:
      if (wParam == kPreviewTimer) {
        HDC dc = GetDC(window);
        DrawPreview(*state, dc);
        ReleaseDC(window, dc);
      } else if (wParam == kProgressTimer && state->capturing) {
        ReportProgress(*state);
      }
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      if (state->preview) DrawPreview(*state, dc);
      EndPaint(window, &paint);
      return 0;
    }
    default:
      break;
  }
  if (message == kCaptureEnded) {
    EndCapture(*state);
    return 0;
  }
  if (message == WM_NCDESTROY) {
    Disconnect(*state);
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    delete state;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

bool RegisterCaptureClass() {
  static const bool registered = [] {
    WindowClassDef windowClass(CaptureWindowProc, kClassName, GetModuleHandleA(nullptr));
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    // RegisterClassExA rather than Register(), which throws: this runs
    // inside a dialog's window procedure.
    return RegisterClassExA(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }();
  return registered;
}

class CScreenCaptureProvider : public CCaptureProvider {
 public:
  bool DriverDescription(int index, std::string& description, std::string& version) const override {
    if (index != 0) return false;
    description = kScreenCaptureDescription;
    version = kScreenCaptureVersion;
    return true;
  }
  HWND CreateCaptureWindow(HWND parent, int id, int x, int y, int width, int height) const override {
    return CreateScreenCaptureWindow(parent, id, x, y, width, height);
  }
};

}  // namespace

HWND CreateScreenCaptureWindow(HWND parent, int id, int x, int y, int width, int height) {
  if (!RegisterCaptureClass()) return nullptr;
  return CreateWindowExA(0, kClassName, "", WS_CHILD | WS_VISIBLE, x, y, width, height, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
}

DWORD ScreenCaptureFramesGrabbed(HWND window) {
  const CaptureState* state = StateOf(window);
  return state ? state->capture.FramesGrabbed() : 0;
}

const CCaptureProvider& ScreenCaptureProvider() {
  static const CScreenCaptureProvider provider;
  return provider;
}
