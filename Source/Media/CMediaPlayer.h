// CMediaPlayer: plays one media file in the platform's MCI window (MCIWnd),
// a child of the dialog that shows it. The player object lives for the whole
// program; its window lives only from Open to Close. Lengths and positions
// are in milliseconds.
#ifndef QUILLMATE_MEDIA_CMEDIAPLAYER_H
#define QUILLMATE_MEDIA_CMEDIAPLAYER_H

#include <windows.h>

#include <string>

class CMediaPlayer {
 public:
  CMediaPlayer() = default;
  ~CMediaPlayer();
  CMediaPlayer(const CMediaPlayer&) = delete;
  CMediaPlayer& operator=(const CMediaPlayer&) = delete;

  void SetParent(HWND parent) { m_parent = parent; }

  // Closes any open window, then creates one on the file at the rectangle,
  // reads the length and starts playing. False when no window was made.
  bool Open(const std::string& path, int x, int y, int width, int height);

  void PlayPause();
  // To the start, not playing: what the Stop buttons do.
  void Rewind();
  // Rewinds, seeks to `position` and plays from there.
  void SeekAndPlay(long position);
  // Asks the window for the current position and remembers it.
  double Position();
  // The medium has played to its end: the position reached the length, or
  // the window stopped by itself while playing (an AVI ends on its last
  // frame, numbered one less than its length).
  bool ReachedEnd();

  long Length() const { return m_length; }
  bool IsPlaying() const { return m_playing; }
  HWND Window() const { return m_window; }
  const std::string& FileName() const { return m_fileName; }

  void Close();

 private:
  HWND m_window = nullptr;
  HWND m_parent = nullptr;
  std::string m_fileName;
  bool m_playing = false;
  long m_length = 0;
  double m_position = 0;
};

// The program's players: one for audio notes, one for video notes.
CMediaPlayer& AudioNotePlayer();
CMediaPlayer& VideoNotePlayer();

#endif  // QUILLMATE_MEDIA_CMEDIAPLAYER_H
