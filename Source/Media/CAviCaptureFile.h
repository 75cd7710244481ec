// CAviCaptureFile: the AVI file that a screen capture is written into,
// through the platform's AVI file functions (avifil32), so that the file is
// the standard kind every player reads: a video stream of DIB frames (or of
// the compressor's output when one was chosen) and a PCM audio stream.
//
// The file, as avifil32 lays it out when it is released:
//
//   RIFF "AVI "
//     LIST "hdrl"   avih (frame period, frame count, size), then one
//                   LIST "strl" per stream: strh + strf
//       stream 0    video: strh "vids", rate/scale = frames per second,
//                   strf = the frame's BITMAPINFOHEADER (or the compressor's)
//       stream 1    audio: strh "auds", rate/scale = block align / bytes
//                   per second, strf = the WAVEFORMATEX
//     LIST "movi"   "00db"/"00dc" frame chunks and "01wb" sound chunks
//     idx1          the index
//
// Limits and rules:
//   1. Frames are written in order, one at a time; a frame slot the capture
//      missed is written again with the last picture, so the video stream
//      keeps the asked rate and stays in step with the sound.
//   2. Sound is appended (start -1): avifil32 under Wine refuses an
//      explicit start position for sound.
//   3. A write that fails makes every later write fail too, and Close still
//      releases the file, which writes the headers and the index: what was
//      written before the failure stays a valid AVI.
//   4. avifil32 keeps file offsets in a LONG: past 2 GiB it wraps and writes
//      over the file's own start while reporting success. A write that could
//      take the finished file (headers, every chunk with its 8-byte header
//      and even padding, and its 16-byte index entry) past SizeLimit() is
//      refused as a failed write (ReachedLimit() then tells why), so the
//      file ends as a valid AVI below 2 GiB. A compressed frame is reckoned
//      at its uncompressed size before it is written and at the size the
//      compressor made of it afterwards.
//   5. Close writes the frame period into the main header (avih, at offset
//      32 of the file) itself: Wine's avifil32 writes there rate / scale
//      instead of scale / rate (15,000,000 us for 15 frames a second), and
//      players that time by it (Wine's MCI window) report lengths and
//      positions 225 times too long.
#ifndef QUILLMATE_MEDIA_CAVICAPTUREFILE_H
#define QUILLMATE_MEDIA_CAVICAPTUREFILE_H

#include <windows.h>
#include <mmsystem.h>
#include <vfw.h>

#include <string>

class CAviCaptureFile {
 public:
  CAviCaptureFile();
  ~CAviCaptureFile();
  CAviCaptureFile(const CAviCaptureFile&) = delete;
  CAviCaptureFile& operator=(const CAviCaptureFile&) = delete;

  // Creates the file (replacing any) with its streams. frame: the
  // uncompressed frame format; sound: null for a file without sound;
  // compressor: a fourcc from the compressor chooser, 0 (or 'DIB ') for
  // none; quality as the chooser gives it.
  // Returns false, with nothing left open, when the file cannot be made.
  bool Create(const std::string& path, const BITMAPINFOHEADER& frame, DWORD microSecondsPerFrame,
              const WAVEFORMATEX* sound, DWORD compressor, LONG quality);
  // Appends one frame of frame.biSizeImage bytes. False once any write failed.
  bool WriteFrame(const void* bits);
  // Appends sound bytes (whole blocks). False once any write failed.
  bool WriteSound(const void* bytes, DWORD count);
  // Releases streams and file; safe to call twice.
  void Close();

  bool Failed() const { return m_failed; }
  // The write refused was one the size limit did not allow.
  bool ReachedLimit() const { return m_reachedLimit; }
  // What the file will measure once closed, as far as written so far.
  long long Bytes() const { return m_bytes; }

  // Below 2 GiB: see rule 4.
  static constexpr long long kSizeLimit = 0x7FFFFFFFLL;
  // For tests: a lower limit for every capture file; 0 restores kSizeLimit.
  static void SetSizeLimit(long long bytes);
  static long long SizeLimit();

  // For tests: every write fails, as on a full disk, once this many more
  // bytes were written by any capture file; negative (the default) never.
  static void FailWritesAfter(long long bytes);
  LONG FramesWritten() const { return m_frames; }
  // Sound blocks (frames of the sound format) written.
  LONG SoundBlocksWritten() const { return m_soundBlocks; }

 private:
  PAVIFILE m_file;
  PAVISTREAM m_video;       // what frames go into: the compressed stream, or the raw one
  PAVISTREAM m_rawVideo;    // the raw stream under a compressed one (null when none)
  PAVISTREAM m_sound;
  BITMAPINFOHEADER m_frame;
  WORD m_blockAlign;
  LONG m_frames;
  LONG m_soundBlocks;
  bool m_failed;
  bool m_reachedLimit;
  std::string m_path;
  DWORD m_microSecondsPerFrame;
  long long m_bytes;

  // Takes bytes more (one chunk) into the reckoning; false, leaving it
  // unchanged, when they would pass the limit.
  bool Reserve(LONG bytes);
  void WriteFramePeriod() const;
  bool Write(PAVISTREAM stream, LONG start, LONG samples, const void* data, LONG bytes, DWORD flags);
};

#endif  // QUILLMATE_MEDIA_CAVICAPTUREFILE_H
