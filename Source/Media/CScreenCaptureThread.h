// CScreenCaptureThread: one capture of a screen region with the sound of the
// wave-in device into an AVI file (CAviCaptureFile), on a thread of its own.
// The thread never calls into a window: it only posts the window that
// started it a message when it ends by itself (time limit, abort key, a
// refused yield, a write failure), so the window's thread can stop it and
// report without waiting on a thread that waits on it.
//
// Timing: frame slot k is due at k frame periods after the start. When the
// thread falls behind, one picture is grabbed and written into every slot
// that became due (the extra ones count as dropped), so the video keeps the
// asked rate and its length matches the sound's.
#ifndef QUILLMATE_MEDIA_CSCREENCAPTURETHREAD_H
#define QUILLMATE_MEDIA_CSCREENCAPTURETHREAD_H

#include <windows.h>
#include <mmsystem.h>
#include <vfw.h>

#include <atomic>
#include <string>
#include <vector>

// The frame format of a capture of width x height pixels: an uncompressed
// bottom-up DIB of kScreenCaptureBits bits per pixel, rows padded to 4 bytes.
// 32 bits, not 24: Wine's MCI window draws 24-bit AVI frames garbled (the
// picture repeated in strips) and 32-bit ones right.
constexpr WORD kScreenCaptureBits = 32;
BITMAPINFOHEADER ScreenCaptureFrameFormat(LONG width, LONG height);

// What one capture records, copied when it starts.
struct ScreenCaptureJob {
  std::string path;
  RECT region = {};  // screen coordinates; its size is the frame size
  DWORD microSecondsPerFrame = 66667;
  std::vector<BYTE> soundFormat;  // a WAVEFORMATEX and its extra bytes; empty: no sound
  DWORD compressor = 0;           // fourcc, 0 for uncompressed frames
  LONG quality = 0;
  UINT timeLimitSeconds = 0;  // 0: until stopped
  UINT abortKey = 0;          // virtual key that ends the capture, 0 none
  bool abortLeftMouse = false;
  bool abortRightMouse = false;
  CAPYIELDCALLBACK yield = nullptr;  // called once per frame on the capture thread
  HWND window = nullptr;             // passed to the yield callback; told when the capture ends
  UINT endedMessage = 0;             // posted to window when the thread ends by itself
};

class CScreenCaptureThread {
 public:
  CScreenCaptureThread();
  ~CScreenCaptureThread();
  CScreenCaptureThread(const CScreenCaptureThread&) = delete;
  CScreenCaptureThread& operator=(const CScreenCaptureThread&) = delete;

  // Starts the thread; false when it cannot be started.
  bool Start(const ScreenCaptureJob& job);
  // Ends the capture and waits for the thread, which completes the file
  // first. Nothing happens when none runs.
  void Stop();
  bool Running() const { return m_thread != nullptr; }

  // Progress, readable from any thread while the capture runs and after.
  DWORD FramesWritten() const { return m_framesWritten; }
  DWORD FramesGrabbed() const { return m_framesGrabbed; }
  DWORD FramesDropped() const { return m_framesWritten - m_framesGrabbed; }
  DWORD SoundBlocks() const { return m_soundBlocks; }
  DWORD ElapsedMilliseconds() const { return m_elapsedMs; }
  bool SoundCaptured() const { return m_soundOpen; }
  // The file could not be created or a write failed; what was written
  // before stays in the (valid) file.
  bool WriteFailed() const { return m_writeFailed; }

 private:
  static DWORD WINAPI ThreadMain(void* self);
  void Run();

  ScreenCaptureJob m_job;
  HANDLE m_thread;
  HANDLE m_stop;
  std::atomic<DWORD> m_framesWritten;
  std::atomic<DWORD> m_framesGrabbed;
  std::atomic<DWORD> m_soundBlocks;
  std::atomic<DWORD> m_elapsedMs;
  std::atomic<bool> m_soundOpen;
  std::atomic<bool> m_writeFailed;
};

#endif  // QUILLMATE_MEDIA_CSCREENCAPTURETHREAD_H
