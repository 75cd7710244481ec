// CWaveRecorder: records the wave input straight into a WAV file through two
// alternating two-second buffers. The window thread opens, starts and stops;
// a recording thread of its own receives each filled buffer from the driver,
// appends it to the file and queues it again.
//
// Invariants between the two threads:
//   1. The recording flag is cleared (under the buffer lock) before the
//      device is reset, so every buffer that comes back after the reset is
//      kept by the thread instead of queued again.
//   2. The thread decides "queue again or keep" under the buffer lock, so a
//      buffer is either in the driver's queue at the reset (and comes back) or
//      counted as kept; the returned-buffer counter is published with release
//      order after the buffer's bytes are written.
//   3. The window thread touches the file and the headers only after the
//      counter (read with acquire order) shows every queued buffer back, or
//      after it has taken the file away from the thread under the lock.
//   4. A take never makes the file pass its 32-bit sizes (CWaveFile's limit):
//      at the limit, or when a write fails, the thread keeps the buffers
//      instead of queuing them and notes why (EndedByItself); the recording
//      stands still until the window thread, which polls for that, calls
//      Stop, which completes the file.
//   5. Each open has its own thread, which ends after its device is closed;
//      a start that fails half-way releases device, file, buffers and thread.
#ifndef QUILLMATE_MEDIA_CWAVERECORDER_H
#define QUILLMATE_MEDIA_CWAVERECORDER_H

#include <windows.h>
#include <mmsystem.h>

#include <atomic>
#include <string>

#include "Media/CWaveFile.h"

// Two seconds of sound each; one block of 705,600 bytes holds both.
constexpr DWORD kWaveBufferBytes = 352800;

class CWaveRecorder {
 public:
  CWaveRecorder();
  ~CWaveRecorder();
  CWaveRecorder(const CWaveRecorder&) = delete;
  CWaveRecorder& operator=(const CWaveRecorder&) = delete;

  // The number of wave input devices.
  static unsigned DeviceCount();

  // Starts a recording thread and opens the device at list position
  // `position` (0 the wave mapper, n device n - 1), then prepares its mixer.
  // 1: the device is open (also when the mixer could not be prepared);
  // 0: the device could not be opened; -1: no thread could be created.
  // Warnings are boxes owned by `owner`.
  int Open(HWND owner, int position);

  // Creates the file, writes its header, queues both buffers and starts the
  // device. 1 when recording runs; 0 otherwise, with device, file, buffers
  // and thread released (Open again before the next Start).
  int Start(HWND owner, const std::string& path);

  // Ends a running recording and completes the file; does nothing when no
  // recording runs. False when the file's sizes could not be written (the
  // file is then not a complete WAV); true otherwise.
  bool Stop(HWND owner);

  // Why the running take stopped taking sound by itself, read by the window
  // thread while recording.
  enum class TakeEnd { kNone, kSizeLimit, kWriteFailed };
  TakeEnd EndedByItself() const { return m_ended.load(std::memory_order_acquire); }

  bool IsRecording() const { return m_recording.load(std::memory_order_acquire); }
  // Bytes in the current or last take's "data" chunk.
  std::uint32_t DataBytes() const { return m_dataBytes.load(std::memory_order_acquire); }
  // The device the open handle belongs to (WAVE_MAPPER for the mapper), or
  // kNoWaveDevice when none is open.
  static constexpr UINT kNoWaveDevice = 0xFFFFFFFEu;
  UINT DeviceId() const;
  // The recording thread of the open device (null when none), for
  // measuring its processor time.
  HANDLE RecordingThread() const { return m_thread; }

  // For tests: how long Stop waits for the buffers after the reset, the data
  // limit of a take, and the call that makes the driver hand the buffers back
  // (a test passes waveInStop to play a driver that keeps one).
  // The call that closes the device, which a test replaces by one that
  // refuses.
  using ResetCall = MMRESULT(WINAPI*)(HWAVEIN);
  void SetBufferWait(DWORD milliseconds) { m_bufferWaitMs = milliseconds; }
  void SetDataLimit(std::uint32_t bytes) { m_dataLimit = bytes; }
  void SetResetCall(ResetCall reset) { m_reset = reset; }
  void SetCloseCall(ResetCall close) { m_close = close; }
  // How often closing the device is tried (the user is told after each
  // failure) before it is left to its driver.
  static constexpr int kCloseTries = 3;

 private:
  // The headers live with their data: after a give-up they are leaked
  // together, since the driver may still hold them.
  struct Buffers {
    WAVEHDR headers[2];
    char* block;  // VirtualAlloc, 2 x kWaveBufferBytes
  };

  static DWORD WINAPI ThreadMain(void* recorder);
  void RunThread();
  void TakeBuffer(HWAVEIN device, WAVEHDR* header);

  bool Release(HWND owner, bool keepFile);
  bool WaitForBuffers();
  void CloseDevice(HWND owner, bool retry);
  void EndThread();
  void FreeBuffers();

  HWAVEIN m_waveIn = nullptr;
  HMIXER m_mixer = nullptr;
  CWaveFile m_file;
  Buffers* m_buffers = nullptr;
  int m_prepared = 0;  // headers prepared, in order
  int m_queued = 0;    // headers handed to the driver
  std::atomic<bool> m_recording{false};
  std::atomic<unsigned char> m_returned{0};
  std::atomic<std::uint32_t> m_dataBytes{0};
  std::atomic<TakeEnd> m_ended{TakeEnd::kNone};
  bool m_fileForThread = false;  // under m_bufferLock
  CRITICAL_SECTION m_bufferLock;

  HANDLE m_thread = nullptr;
  DWORD m_threadId = 0;
  HANDLE m_threadReady = nullptr;

  DWORD m_bufferWaitMs = 5000;
  std::uint32_t m_dataLimit = kWaveDataLimit;
  ResetCall m_reset = waveInReset;
  ResetCall m_close = waveInClose;
};

// The program's one recorder.
CWaveRecorder& WaveRecorder();

#endif  // QUILLMATE_MEDIA_CWAVERECORDER_H
