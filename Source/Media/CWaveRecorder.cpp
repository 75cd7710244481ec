// CWaveRecorder: open, start, stop and the recording thread.
#include "Media/CWaveRecorder.h"

#include "Media/RecordingMixer.h"
#include "Media/WaveReports.h"

namespace {

// How long Open waits for a new thread to have its message queue: the driver
// posts MM_WIM_OPEN during waveInOpen, and a post to a thread without a queue
// is lost.
constexpr DWORD kThreadReadyWaitMs = 5000;
// How long ending a thread may take once its device is closed.
constexpr DWORD kThreadEndWaitMs = 5000;
constexpr DWORD kPollMs = 100;

class LockHolder {
 public:
  explicit LockHolder(CRITICAL_SECTION& lock) : m_lock(lock) { EnterCriticalSection(&m_lock); }
  ~LockHolder() { LeaveCriticalSection(&m_lock); }
  LockHolder(const LockHolder&) = delete;
  LockHolder& operator=(const LockHolder&) = delete;

 private:
  CRITICAL_SECTION& m_lock;
};

}  // namespace

CWaveRecorder::CWaveRecorder() {
  InitializeCriticalSection(&m_bufferLock);
}

CWaveRecorder::~CWaveRecorder() {
  if (m_recording.load()) Release(nullptr, true);
  else if (m_waveIn || m_thread) Release(nullptr, false);
  DeleteCriticalSection(&m_bufferLock);
}

unsigned CWaveRecorder::DeviceCount() {
  return waveInGetNumDevs();
}

UINT CWaveRecorder::DeviceId() const {
  UINT id = kNoWaveDevice;
  if (!m_waveIn || waveInGetID(m_waveIn, &id) != MMSYSERR_NOERROR) return kNoWaveDevice;
  return id;
}

int CWaveRecorder::Open(HWND owner, int position) {
  if (m_recording.load()) Stop(owner);
  if (m_waveIn || m_thread) Release(owner, false);

  m_threadReady = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  m_thread = CreateThread(nullptr, 0, ThreadMain, this, 0, &m_threadId);
  if (!m_thread) {
    DWORD error = GetLastError();
    WaveDiagnostic("Can't create WAVE recording thread! -- %08lX\n", error);
    if (m_threadReady) CloseHandle(m_threadReady);
    m_threadReady = nullptr;
    return -1;
  }
  if (m_threadReady) {
    WaitForSingleObject(m_threadReady, kThreadReadyWaitMs);
    CloseHandle(m_threadReady);
    m_threadReady = nullptr;
  }

  m_returned.store(0, std::memory_order_release);
  WAVEFORMATEX format = RecordingFormat();
  HWAVEIN waveIn = nullptr;
  // Position 0 gives UINT(-1), the wave mapper.
  if (waveInOpen(&waveIn, static_cast<UINT>(position - 1), &format, m_threadId, 0, CALLBACK_THREAD) !=
      MMSYSERR_NOERROR) {
    ShowWaveWarning(owner, "Can't open WAVE In Device!");
    EndThread();
    return 0;
  }
  {
    LockHolder hold(m_bufferLock);
    m_waveIn = waveIn;
  }
  m_mixer = PrepareRecordingMixer(owner, m_waveIn);
  return 1;
}

int CWaveRecorder::Start(HWND owner, const std::string& path) {
  if (!m_waveIn || m_recording.load()) return 0;
  // The mixer is not used while recording.
  if (m_mixer) gRecordingMixerCalls.close(m_mixer);
  m_mixer = nullptr;

  m_file.SetDataLimit(m_dataLimit);
  if (!m_file.Create(path)) {
    Release(owner, false);
    return 0;
  }
  m_dataBytes.store(0, std::memory_order_release);
  m_ended.store(TakeEnd::kNone, std::memory_order_release);

  m_buffers = new Buffers{};
  m_buffers->block = static_cast<char*>(
      VirtualAlloc(nullptr, 2 * kWaveBufferBytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  if (!m_buffers->block) {
    WaveDiagnostic("ERROR: Can't allocate memory for WAVE buffer!\n");
    Release(owner, false);
    return 0;
  }
  for (int i = 0; i < 2; ++i) {
    m_buffers->headers[i].lpData = m_buffers->block + i * kWaveBufferBytes;
    m_buffers->headers[i].dwBufferLength = kWaveBufferBytes;
  }
  {
    LockHolder hold(m_bufferLock);
    m_fileForThread = true;
  }
  m_returned.store(0, std::memory_order_release);

  static const char* const kPrepareFailures[] = {"Error preparing WAVEHDR 1! -- %08X\n",
                                                 "Error preparing WAVEHDR 2! -- %08X\n"};
  static const char* const kQueueFailures[] = {"Error queueing WAVEHDR 1! -- %08X\n",
                                               "Error queueing WAVEHDR 2! -- %08X\n"};
  for (int i = 0; i < 2; ++i) {
    MMRESULT result = waveInPrepareHeader(m_waveIn, &m_buffers->headers[i], sizeof(WAVEHDR));
    if (result != MMSYSERR_NOERROR) {
      WaveDiagnostic(kPrepareFailures[i], result);
      Release(owner, false);
      return 0;
    }
    ++m_prepared;
  }
  for (int i = 0; i < 2; ++i) {
    MMRESULT result = waveInAddBuffer(m_waveIn, &m_buffers->headers[i], sizeof(WAVEHDR));
    if (result != MMSYSERR_NOERROR) {
      WaveDiagnostic(kQueueFailures[i], result);
      Release(owner, false);
      return 0;
    }
    ++m_queued;
  }

  {
    LockHolder hold(m_bufferLock);
    m_recording.store(true, std::memory_order_release);
  }
  if (waveInStart(m_waveIn) != MMSYSERR_NOERROR) {
    ShowWaveWarning(owner, "Error starting record!");
    Release(owner, false);
    return 0;
  }
  return 1;
}

bool CWaveRecorder::Stop(HWND owner) {
  if (!m_recording.load(std::memory_order_acquire)) return true;
  return Release(owner, true);
}

// Ends whatever Open and Start set up, in the order that keeps the two
// threads apart (see the invariants in the header). `keepFile` completes the
// file; otherwise a half-made file is deleted. False when a kept file could
// not be completed.
bool CWaveRecorder::Release(HWND owner, bool keepFile) {
  {
    LockHolder hold(m_bufferLock);
    m_recording.store(false, std::memory_order_release);
  }
  bool buffersBack = true;
  if (m_queued > 0) {
    m_reset(m_waveIn);
    buffersBack = WaitForBuffers();
  }

  if (buffersBack) {
    static const char* const kUnprepareFailures[] = {"Error unpreparing WAVEHDR 1! -- %08X\n",
                                                     "Error unpreparing WAVEHDR 2! -- %08X\n"};
    for (int i = m_prepared - 1; i >= 0; --i) {
      MMRESULT result = waveInUnprepareHeader(m_waveIn, &m_buffers->headers[i], sizeof(WAVEHDR));
      if (result != MMSYSERR_NOERROR) WaveDiagnostic(kUnprepareFailures[i], result);
    }
    CloseDevice(owner, true);
  }
  {
    LockHolder hold(m_bufferLock);
    m_fileForThread = false;
  }
  bool completed = true;
  if (m_file.IsOpen()) {
    if (keepFile) {
      completed = m_file.Complete();
      if (!completed) WaveDiagnostic("Error completing WAVE file! -- %08lX\n", GetLastError());
    } else {
      m_file.Discard();
    }
  }
  if (buffersBack) {
    FreeBuffers();
  } else {
    // The driver may still own both buffers and write into them: leak the
    // block and its headers rather than free memory that is still in use.
    CloseDevice(owner, false);
    m_buffers = nullptr;
  }
  m_prepared = 0;
  m_queued = 0;
  if (m_mixer) gRecordingMixerCalls.close(m_mixer);
  m_mixer = nullptr;
  EndThread();
  if (!buffersBack && keepFile) {
    ShowWaveWarning(owner, "The recording could not be ended cleanly; the sound recorded so far was kept.");
  }
  return completed;
}

// Polls until every queued buffer has come back, for at most the buffer
// wait; false when the driver kept some.
bool CWaveRecorder::WaitForBuffers() {
  for (DWORD waited = 0;; waited += kPollMs) {
    if (m_returned.load(std::memory_order_acquire) >= m_queued) return true;
    if (waited >= m_bufferWaitMs) return false;
    Sleep(kPollMs);
  }
}

// `retry`: tell the user and try again while closing fails, kCloseTries
// times in all; a device that still refuses, or refuses the one try made
// without `retry`, is left to its driver.
void CWaveRecorder::CloseDevice(HWND owner, bool retry) {
  if (!m_waveIn) return;
  for (int tries = 1; m_close(m_waveIn) != MMSYSERR_NOERROR; ++tries) {
    if (!retry) break;
    ShowWaveWarning(owner, "Can't close WAVE In Device!");
    if (tries == kCloseTries) {
      ShowWaveWarning(owner, "The sound device could not be closed; it may not record again until Quillmate is "
                             "restarted.");
      break;
    }
  }
  LockHolder hold(m_bufferLock);
  m_waveIn = nullptr;
}

void CWaveRecorder::EndThread() {
  if (!m_thread) return;
  PostThreadMessageA(m_threadId, WM_QUIT, 0, 0);
  WaitForSingleObject(m_thread, kThreadEndWaitMs);
  CloseHandle(m_thread);
  m_thread = nullptr;
  m_threadId = 0;
}

void CWaveRecorder::FreeBuffers() {
  if (!m_buffers) return;
  if (m_buffers->block) VirtualFree(m_buffers->block, 0, MEM_RELEASE);
  delete m_buffers;
  m_buffers = nullptr;
}

DWORD WINAPI CWaveRecorder::ThreadMain(void* recorder) {
  static_cast<CWaveRecorder*>(recorder)->RunThread();
  return 0;
}

void CWaveRecorder::RunThread() {
  MSG message;
  // Makes this thread's message queue before anyone posts to it.
  PeekMessageA(&message, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
  SetEvent(m_threadReady);
  while (GetMessageA(&message, nullptr, 0, 0) == 1) {
    if (message.message == MM_WIM_OPEN) {
      m_returned.store(0, std::memory_order_release);
    } else if (message.message == MM_WIM_DATA) {
      TakeBuffer(reinterpret_cast<HWAVEIN>(message.wParam), reinterpret_cast<WAVEHDR*>(message.lParam));
    }
  }
}

// A filled buffer: write what it holds, then queue it again while recording
// runs and the file has room, else keep it and count it.
void CWaveRecorder::TakeBuffer(HWAVEIN device, WAVEHDR* header) {
  LockHolder hold(m_bufferLock);
  // A late buffer of a device given up on earlier is not this take's.
  if (device != m_waveIn) return;
  if (header->dwBytesRecorded != 0 && m_fileForThread) {
    m_file.Append(header->lpData, header->dwBytesRecorded);
    m_dataBytes.store(m_file.DataBytes(), std::memory_order_release);
    if (m_file.IsFull() && m_ended.load(std::memory_order_relaxed) == TakeEnd::kNone) {
      m_ended.store(m_file.WriteFailed() ? TakeEnd::kWriteFailed : TakeEnd::kSizeLimit,
                    std::memory_order_release);
    }
  }
  bool queued = m_recording.load(std::memory_order_acquire) && m_fileForThread && !m_file.IsFull() &&
                waveInAddBuffer(device, header, sizeof(WAVEHDR)) == MMSYSERR_NOERROR;
  if (!queued) m_returned.fetch_add(1, std::memory_order_release);
}

CWaveRecorder& WaveRecorder() {
  static CWaveRecorder recorder;
  return recorder;
}
