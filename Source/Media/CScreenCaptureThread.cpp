// The screen capture thread: grabs the region at the frame rate, collects
// the wave-in buffers as they fill, and writes both into the AVI file.
#include "Media/CScreenCaptureThread.h"

#include <functional>

#include "Media/CAviCaptureFile.h"

namespace {

constexpr int kSoundBufferCount = 4;

// The wave-in device for one capture: a few buffers of a quarter second
// each, returned through an event. Close resets the device, so every buffer
// is back (done) before it is unprepared.
class CaptureSoundInput {
 public:
  CaptureSoundInput() : m_device(nullptr), m_event(CreateEventA(nullptr, FALSE, FALSE, nullptr)), m_headers() {}
  ~CaptureSoundInput() {
    Close(Writer());
    if (m_event) CloseHandle(m_event);
  }

  bool Open(const std::vector<BYTE>& format) {
    if (format.size() < sizeof(PCMWAVEFORMAT) || !m_event) return false;
    const auto* wave = reinterpret_cast<const WAVEFORMATEX*>(format.data());
    if (waveInOpen(&m_device, WAVE_MAPPER, wave, reinterpret_cast<DWORD_PTR>(m_event), 0, CALLBACK_EVENT) !=
        MMSYSERR_NOERROR) {
      m_device = nullptr;
      return false;
    }
    const DWORD block = wave->nBlockAlign ? wave->nBlockAlign : 1;
    DWORD bytes = wave->nAvgBytesPerSec / 4;
    bytes -= bytes % block;
    if (bytes == 0) bytes = block;
    for (int i = 0; i < kSoundBufferCount; ++i) {
      m_buffers[i].assign(bytes, 0);
      m_headers[i] = WAVEHDR();
      m_headers[i].lpData = reinterpret_cast<LPSTR>(m_buffers[i].data());
      m_headers[i].dwBufferLength = bytes;
      waveInPrepareHeader(m_device, &m_headers[i], sizeof(WAVEHDR));
      waveInAddBuffer(m_device, &m_headers[i], sizeof(WAVEHDR));
    }
    return waveInStart(m_device) == MMSYSERR_NOERROR;
  }

  HANDLE Event() const { return m_event; }

  using Writer = std::function<void(const void* bytes, DWORD count)>;

  // Hands every filled buffer to write, oldest first (buffers come back in
  // the order they were queued), and queues it again when requeue is set.
  void Drain(const Writer& write, bool requeue) {
    if (!m_device) return;
    for (int n = 0; n < kSoundBufferCount; ++n) {
      WAVEHDR& header = m_headers[m_next];
      if (!(header.dwFlags & WHDR_DONE)) break;
      if (header.dwBytesRecorded && write) write(header.lpData, header.dwBytesRecorded);
      header.dwFlags &= ~WHDR_DONE;
      header.dwBytesRecorded = 0;
      if (requeue) waveInAddBuffer(m_device, &header, sizeof(WAVEHDR));
      m_next = (m_next + 1) % kSoundBufferCount;
    }
  }

  // Stops the device, gives the last sound to write (when set) and releases
  // everything.
  void Close(const Writer& write) {
    if (!m_device) return;
    waveInReset(m_device);
    Drain(write, false);
    for (WAVEHDR& header : m_headers) waveInUnprepareHeader(m_device, &header, sizeof(WAVEHDR));
    waveInClose(m_device);
    m_device = nullptr;
  }

 private:
  HWAVEIN m_device;
  HANDLE m_event;
  WAVEHDR m_headers[kSoundBufferCount];
  std::vector<BYTE> m_buffers[kSoundBufferCount];
  int m_next = 0;
};

// The picture of the region, grabbed from the screen into a DIB of the
// capture's frame format.
class RegionGrabber {
 public:
  explicit RegionGrabber(const RECT& region)
      : m_region(region), m_screen(GetDC(nullptr)), m_memory(CreateCompatibleDC(m_screen)), m_bits(nullptr) {
    m_header = ScreenCaptureFrameFormat(region.right - region.left, region.bottom - region.top);
    BITMAPINFO info = {};
    info.bmiHeader = m_header;
    m_bitmap = CreateDIBSection(m_screen, &info, DIB_RGB_COLORS, &m_bits, nullptr, 0);
    if (m_bitmap) m_previous = SelectObject(m_memory, m_bitmap);
  }
  ~RegionGrabber() {
    if (m_bitmap) {
      SelectObject(m_memory, m_previous);
      DeleteObject(m_bitmap);
    }
    DeleteDC(m_memory);
    ReleaseDC(nullptr, m_screen);
  }
  bool Ready() const { return m_bits != nullptr; }
  const BITMAPINFOHEADER& Header() const { return m_header; }
  const void* Grab() {
    BitBlt(m_memory, 0, 0, m_header.biWidth, m_header.biHeight, m_screen, m_region.left, m_region.top,
           SRCCOPY | CAPTUREBLT);
    GdiFlush();
    return m_bits;
  }

 private:
  RECT m_region;
  HDC m_screen;
  HDC m_memory;
  HBITMAP m_bitmap = nullptr;
  HGDIOBJ m_previous = nullptr;
  void* m_bits;
  BITMAPINFOHEADER m_header;
};

bool KeyDown(UINT key) {
  return key != 0 && (GetAsyncKeyState(static_cast<int>(key)) & 0x8000) != 0;
}

// Fine-grained sleeps for the frame clock while a capture runs.
class TimerResolution {
 public:
  TimerResolution() { timeBeginPeriod(1); }
  ~TimerResolution() { timeEndPeriod(1); }
};

}  // namespace

BITMAPINFOHEADER ScreenCaptureFrameFormat(LONG width, LONG height) {
  BITMAPINFOHEADER header = {};
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = height;
  header.biPlanes = 1;
  header.biBitCount = kScreenCaptureBits;
  header.biCompression = BI_RGB;
  header.biSizeImage = ((width * kScreenCaptureBits / 8 + 3) & ~3) * height;
  return header;
}

CScreenCaptureThread::CScreenCaptureThread()
    : m_thread(nullptr),
      m_stop(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
      m_framesWritten(0),
      m_framesGrabbed(0),
      m_soundBlocks(0),
      m_elapsedMs(0),
      m_soundOpen(false),
      m_writeFailed(false) {}

CScreenCaptureThread::~CScreenCaptureThread() {
  Stop();
  if (m_stop) CloseHandle(m_stop);
}

bool CScreenCaptureThread::Start(const ScreenCaptureJob& job) {
  Stop();
  if (!m_stop) return false;
  m_job = job;
  m_framesWritten = 0;
  m_framesGrabbed = 0;
  m_soundBlocks = 0;
  m_elapsedMs = 0;
  m_soundOpen = false;
  m_writeFailed = false;
  ResetEvent(m_stop);
  m_thread = CreateThread(nullptr, 0, ThreadMain, this, 0, nullptr);
  return m_thread != nullptr;
}

void CScreenCaptureThread::Stop() {
  if (!m_thread) return;
  SetEvent(m_stop);
  WaitForSingleObject(m_thread, INFINITE);
  CloseHandle(m_thread);
  m_thread = nullptr;
}

DWORD WINAPI CScreenCaptureThread::ThreadMain(void* self) {
  static_cast<CScreenCaptureThread*>(self)->Run();
  return 0;
}

void CScreenCaptureThread::Run() {
  const TimerResolution resolution;
  RegionGrabber grabber(m_job.region);
  CaptureSoundInput sound;
  m_soundOpen = !m_job.soundFormat.empty() && sound.Open(m_job.soundFormat);
  const auto* soundFormat =
      m_soundOpen ? reinterpret_cast<const WAVEFORMATEX*>(m_job.soundFormat.data()) : nullptr;

  CAviCaptureFile file;
  bool endedByItself = false;
  if (!grabber.Ready() || !file.Create(m_job.path, grabber.Header(), m_job.microSecondsPerFrame, soundFormat,
                                       m_job.compressor, m_job.quality)) {
    m_writeFailed = true;
    endedByItself = true;
  }
  const CaptureSoundInput::Writer writeSound = [&](const void* bytes, DWORD count) {
    file.WriteSound(bytes, count);
    m_soundBlocks = static_cast<DWORD>(file.SoundBlocksWritten());
  };

  LARGE_INTEGER frequency, start, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  const unsigned long long period = m_job.microSecondsPerFrame ? m_job.microSecondsPerFrame : 66667;
  const HANDLE events[2] = {m_stop, sound.Event()};
  const DWORD eventCount = m_soundOpen ? 2 : 1;

  while (!endedByItself) {
    QueryPerformanceCounter(&now);
    const unsigned long long elapsed =
        static_cast<unsigned long long>(now.QuadPart - start.QuadPart) * 1000000ULL / frequency.QuadPart;
    m_elapsedMs = static_cast<DWORD>(elapsed / 1000);
    if (m_job.timeLimitSeconds && elapsed >= m_job.timeLimitSeconds * 1000000ULL) {
      endedByItself = true;
      break;
    }
    const unsigned long long due = elapsed / period + 1;
    if (due > static_cast<unsigned long long>(file.FramesWritten())) {
      const void* picture = grabber.Grab();
      ++m_framesGrabbed;
      while (static_cast<unsigned long long>(file.FramesWritten()) < due && file.WriteFrame(picture)) {
      }
      m_framesWritten = static_cast<DWORD>(file.FramesWritten());
      if (m_job.yield && !m_job.yield(m_job.window)) endedByItself = true;
    }
    sound.Drain(writeSound, true);
    if (file.Failed()) m_writeFailed = true;
    if (m_writeFailed || KeyDown(m_job.abortKey) || (m_job.abortLeftMouse && KeyDown(VK_LBUTTON)) ||
        (m_job.abortRightMouse && KeyDown(VK_RBUTTON))) {
      endedByItself = true;
      break;
    }
    const unsigned long long nextSlot = due * period;
    QueryPerformanceCounter(&now);
    const unsigned long long later =
        static_cast<unsigned long long>(now.QuadPart - start.QuadPart) * 1000000ULL / frequency.QuadPart;
    const DWORD wait = nextSlot > later ? static_cast<DWORD>((nextSlot - later + 999) / 1000) : 0;
    if (WaitForMultipleObjects(eventCount, events, FALSE, wait) == WAIT_OBJECT_0) break;
  }

  sound.Close(writeSound);
  if (file.Failed()) m_writeFailed = true;
  file.Close();
  if (endedByItself && m_job.window && m_job.endedMessage) PostMessageA(m_job.window, m_job.endedMessage, 0, 0);
}
