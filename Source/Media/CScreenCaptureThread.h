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
#include <memory>
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
  // The compressor was preselected, not chosen: when it cannot make the
  // stream, the frames are written uncompressed instead.
  bool compressorPreselected = false;
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
  // first, for at most StopWait(). True when it ended (or none ran); false
  // when it did not end in time: it is then left to end by itself, with
  // what it works on kept alive for it, and the file may be incomplete.
  bool Stop();
  bool Running() const { return m_thread != nullptr; }

  // How long Stop waits; tests shorten it.
  static constexpr DWORD kStopWaitMs = 15000;
  static void SetStopWait(DWORD milliseconds);

  // Progress, readable from any thread while the capture runs and after.
  DWORD FramesWritten() const { return m_run ? m_run->framesWritten.load() : 0; }
  DWORD FramesGrabbed() const { return m_run ? m_run->framesGrabbed.load() : 0; }
  DWORD FramesDropped() const { return FramesWritten() - FramesGrabbed(); }
  DWORD SoundBlocks() const { return m_run ? m_run->soundBlocks.load() : 0; }
  DWORD ElapsedMilliseconds() const { return m_run ? m_run->elapsedMs.load() : 0; }
  bool SoundCaptured() const { return m_run && m_run->soundOpen; }
  // The file could not be created or a write failed; what was written
  // before stays in the (valid) file.
  bool WriteFailed() const { return m_run && m_run->writeFailed; }

 private:
  // What one capture works on, shared by the thread and this object, so a
  // thread given up on by Stop still has it when it ends.
  struct Run {
    ScreenCaptureJob job;
    HANDLE stop = nullptr;
    std::atomic<DWORD> framesWritten{0};
    std::atomic<DWORD> framesGrabbed{0};
    std::atomic<DWORD> soundBlocks{0};
    std::atomic<DWORD> elapsedMs{0};
    std::atomic<bool> soundOpen{false};
    std::atomic<bool> writeFailed{false};
    ~Run();
  };

  static DWORD WINAPI ThreadMain(void* run);
  static void Capture(Run& run);

  std::shared_ptr<Run> m_run;
  HANDLE m_thread;
};

#endif  // QUILLMATE_MEDIA_CSCREENCAPTURETHREAD_H
