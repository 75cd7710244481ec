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

namespace {

std::atomic<DWORD> gStopWaitMs{CScreenCaptureThread::kStopWaitMs};

}  // namespace

CScreenCaptureThread::Run::~Run() {
  if (stop) CloseHandle(stop);
}

CScreenCaptureThread::CScreenCaptureThread() : m_thread(nullptr) {}

CScreenCaptureThread::~CScreenCaptureThread() {
  Stop();
}

void CScreenCaptureThread::SetStopWait(DWORD milliseconds) {
  gStopWaitMs = milliseconds;
}

bool CScreenCaptureThread::Start(const ScreenCaptureJob& job) {
  Stop();
  auto run = std::make_shared<Run>();
  run->stop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  if (!run->stop) return false;
  run->job = job;
  m_run = run;
  // The thread's own reference, released by the thread when it ends.
  auto* reference = new std::shared_ptr<Run>(run);
  m_thread = CreateThread(nullptr, 0, ThreadMain, reference, 0, nullptr);
  if (!m_thread) delete reference;
  return m_thread != nullptr;
}

bool CScreenCaptureThread::Stop() {
  if (!m_thread) return true;
  SetEvent(m_run->stop);
  const bool ended = WaitForSingleObject(m_thread, gStopWaitMs.load()) == WAIT_OBJECT_0;
  CloseHandle(m_thread);
  m_thread = nullptr;
  return ended;
}

DWORD WINAPI CScreenCaptureThread::ThreadMain(void* reference) {
  const std::unique_ptr<std::shared_ptr<Run>> run(static_cast<std::shared_ptr<Run>*>(reference));
  Capture(**run);
  return 0;
}

void CScreenCaptureThread::Capture(Run& run) {
  const TimerResolution resolution;
  RegionGrabber grabber(run.job.region);
  CaptureSoundInput sound;
  run.soundOpen = !run.job.soundFormat.empty() && sound.Open(run.job.soundFormat);
  const auto* soundFormat =
      run.soundOpen ? reinterpret_cast<const WAVEFORMATEX*>(run.job.soundFormat.data()) : nullptr;

  CAviCaptureFile file;
  bool endedByItself = false;
  const auto create = [&](DWORD compressor) {
    return file.Create(run.job.path, grabber.Header(), run.job.microSecondsPerFrame, soundFormat, compressor,
                       run.job.quality);
  };
  if (!grabber.Ready() ||
      !(create(run.job.compressor) || (run.job.compressor && run.job.compressorPreselected && create(0)))) {
    run.writeFailed = true;
    endedByItself = true;
  }
  const CaptureSoundInput::Writer writeSound = [&](const void* bytes, DWORD count) {
    file.WriteSound(bytes, count);
    run.soundBlocks = static_cast<DWORD>(file.SoundBlocksWritten());
  };

  LARGE_INTEGER frequency, start, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  const unsigned long long period = run.job.microSecondsPerFrame ? run.job.microSecondsPerFrame : 66667;
  const HANDLE events[2] = {run.stop, sound.Event()};
  const DWORD eventCount = run.soundOpen ? 2 : 1;

  while (!endedByItself) {
    QueryPerformanceCounter(&now);
    const unsigned long long elapsed =
        static_cast<unsigned long long>(now.QuadPart - start.QuadPart) * 1000000ULL / frequency.QuadPart;
    run.elapsedMs = static_cast<DWORD>(elapsed / 1000);
    if (run.job.timeLimitSeconds && elapsed >= run.job.timeLimitSeconds * 1000000ULL) {
      endedByItself = true;
      break;
    }
    const unsigned long long due = elapsed / period + 1;
    if (due > static_cast<unsigned long long>(file.FramesWritten())) {
      const void* picture = grabber.Grab();
      ++run.framesGrabbed;
      while (static_cast<unsigned long long>(file.FramesWritten()) < due && file.WriteFrame(picture)) {
      }
      run.framesWritten = static_cast<DWORD>(file.FramesWritten());
      if (run.job.yield && !run.job.yield(run.job.window)) endedByItself = true;
    }
    sound.Drain(writeSound, true);
    if (file.Failed()) run.writeFailed = true;
    if (run.writeFailed || KeyDown(run.job.abortKey) || (run.job.abortLeftMouse && KeyDown(VK_LBUTTON)) ||
        (run.job.abortRightMouse && KeyDown(VK_RBUTTON))) {
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
  if (file.Failed()) run.writeFailed = true;
  file.Close();
  if (endedByItself && run.job.window && run.job.endedMessage) PostMessageA(run.job.window, run.job.endedMessage, 0, 0);
}
