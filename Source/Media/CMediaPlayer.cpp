// CMediaPlayer: the MCI window's messages behind play, pause, rewind, seek
// and close.
#include "Media/CMediaPlayer.h"

#include <vfw.h>

CMediaPlayer::~CMediaPlayer() {
  // The window belongs to a dialog that is gone by now; only forget it.
  m_window = nullptr;
}

bool CMediaPlayer::Open(const std::string& path, int x, int y, int width, int height) {
  if (m_window) Close();
  m_fileName = path;
  MCIWndRegisterClass();
  m_window = MCIWndCreateA(m_parent, GetModuleHandleA(nullptr),
                           WS_CHILD | MCIWNDF_NOPLAYBAR | MCIWNDF_NOMENU | MCIWNDF_SHOWPOS | MCIWNDF_NOOPEN,
                           path.c_str());
  if (!m_window) return false;
  ShowWindow(m_window, SW_SHOW);
  MoveWindow(m_window, x, y, width, height, TRUE);
  UpdateWindow(m_window);
  // Milliseconds for every medium (an AVI would count frames), so lengths
  // and positions can be shown as time.
  MCIWndUseTime(m_window);
  m_length = MCIWndGetLength(m_window);
  MCIWndPlay(m_window);
  m_playing = true;
  return true;
}

void CMediaPlayer::PlayPause() {
  if (!m_window) return;
  if (m_playing) {
    MCIWndPause(m_window);
  } else {
    MCIWndPlay(m_window);
  }
  m_playing = !m_playing;
}

void CMediaPlayer::Rewind() {
  if (m_window) MCIWndSeek(m_window, MCIWND_START);
  m_playing = false;
}

void CMediaPlayer::SeekAndPlay(long position) {
  Rewind();
  if (m_window) MCIWndSeek(m_window, position);
  PlayPause();
}

double CMediaPlayer::Position() {
  if (m_window) m_position = static_cast<double>(MCIWndGetPosition(m_window));
  return m_position;
}

bool CMediaPlayer::ReachedEnd() {
  if (!m_window) return false;
  if (Position() >= m_length) return true;
  return m_playing && MCIWndGetMode(m_window, nullptr, 0) == MCI_MODE_STOP;
}

void CMediaPlayer::Close() {
  if (!m_window) return;
  MCIWndStop(m_window);
  SendMessageA(m_window, WM_CLOSE, 0, 0);
  m_window = nullptr;
  m_playing = false;
  m_length = 0;
  m_position = 0;
  m_fileName.clear();
}

CMediaPlayer& AudioNotePlayer() {
  static CMediaPlayer player;
  return player;
}

CMediaPlayer& VideoNotePlayer() {
  static CMediaPlayer player;
  return player;
}
