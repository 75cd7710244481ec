// CWaveFile: header chunks, appended frames and the sizes written on ascent.
#include "Media/CWaveFile.h"

#include <algorithm>
#include <vector>

#include "Media/WaveReports.h"

namespace {

bool gFailCompletes = false;

}  // namespace

void CWaveFile::FailCompletes(bool fail) {
  gFailCompletes = fail;
}

WAVEFORMATEX RecordingFormat() {
  WAVEFORMATEX format{};
  format.wFormatTag = WAVE_FORMAT_PCM;
  format.nChannels = 2;
  format.nSamplesPerSec = 44100;
  format.wBitsPerSample = 16;
  format.nBlockAlign = static_cast<WORD>(format.nChannels * format.wBitsPerSample / 8);
  format.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;
  format.cbSize = 0;
  return format;
}

CWaveFile::~CWaveFile() {
  if (m_file) Discard();
}

bool CWaveFile::Create(const std::string& path) {
  m_riff = MMCKINFO{};
  m_chunk = MMCKINFO{};
  m_dataBytes = 0;
  m_full = false;
  m_writeFailed = false;
  std::vector<char> name(path.begin(), path.end());
  name.push_back('\0');
  m_file = mmioOpenA(name.data(), nullptr, MMIO_CREATE | MMIO_WRITE | MMIO_EXCLUSIVE | MMIO_ALLOCBUF);
  if (!m_file) return false;
  m_path = path;

  // The format block is written with its cbSize field: 18 bytes, not 16.
  WAVEFORMATEX format = RecordingFormat();
  m_riff.fccType = mmioFOURCC('W', 'A', 'V', 'E');
  bool written = mmioCreateChunk(m_file, &m_riff, MMIO_CREATERIFF) == MMSYSERR_NOERROR;
  m_chunk.ckid = mmioFOURCC('f', 'm', 't', ' ');
  m_chunk.cksize = sizeof(WAVEFORMATEX);
  written = written && mmioCreateChunk(m_file, &m_chunk, 0) == MMSYSERR_NOERROR;
  written = written && mmioWrite(m_file, reinterpret_cast<const char*>(&format), sizeof format) ==
                           static_cast<LONG>(sizeof format);
  written = written && mmioAscend(m_file, &m_chunk, 0) == MMSYSERR_NOERROR;
  m_chunk = MMCKINFO{};
  m_chunk.ckid = mmioFOURCC('d', 'a', 't', 'a');
  written = written && mmioCreateChunk(m_file, &m_chunk, 0) == MMSYSERR_NOERROR;
  if (!written) {
    Discard();
    return false;
  }
  return true;
}

std::uint32_t CWaveFile::Append(const void* bytes, std::uint32_t count) {
  if (!m_file || m_full) return 0;
  std::uint32_t room = m_dataLimit - m_dataBytes;
  std::uint32_t taken = std::min(count & ~3u, room);
  if (taken < count) m_full = true;
  if (taken == 0) return 0;
  LONG written = mmioWrite(m_file, static_cast<const char*>(bytes), static_cast<LONG>(taken));
  if (written != static_cast<LONG>(taken)) {
    // A short write (disk full) leaves the position where mmio says it is;
    // ascending measures from there, so the sizes still match the file.
    WaveDiagnostic("Error writing WAVE data! -- %08lX\n", GetLastError());
    m_full = true;
    m_writeFailed = true;
    if (written <= 0) return 0;
    taken = static_cast<std::uint32_t>(written);
  }
  m_dataBytes += taken;
  return taken;
}

bool CWaveFile::Complete() {
  if (!m_file) return false;
  if (gFailCompletes) {
    mmioClose(m_file, 0);
    m_file = nullptr;
    return false;
  }
  bool ascended = mmioAscend(m_file, &m_chunk, 0) == MMSYSERR_NOERROR;
  ascended = mmioAscend(m_file, &m_riff, 0) == MMSYSERR_NOERROR && ascended;
  bool closed = mmioClose(m_file, 0) == MMSYSERR_NOERROR;
  m_file = nullptr;
  return ascended && closed;
}

void CWaveFile::Discard() {
  if (!m_file) return;
  mmioClose(m_file, 0);
  m_file = nullptr;
  DeleteFileA(m_path.c_str());
}
