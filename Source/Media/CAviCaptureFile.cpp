// The AVI writer of the screen capture; the layout and its rules are in the
// header.
#include "Media/CAviCaptureFile.h"

#include <atomic>
#include <cstring>

namespace {

std::atomic<long long> gWriteBudget{-1};
std::atomic<long long> gSizeLimit{CAviCaptureFile::kSizeLimit};

// The headers avifil32 writes in front of the "movi" list and around it
// (RIFF, hdrl with avih, strl per stream, the JUNK that aligns movi), with
// room to spare.
constexpr long long kHeaderBytes = 64 * 1024;
// A chunk's own header and its entry in the index.
constexpr long long kChunkOverhead = 8 + 16;

// False when the test budget would be exceeded; takes the bytes from it.
bool TakeFromBudget(LONG bytes) {
  long long budget = gWriteBudget.load();
  while (budget >= 0) {
    if (budget < bytes) {
      gWriteBudget = 0;
      return false;
    }
    if (gWriteBudget.compare_exchange_weak(budget, budget - bytes)) return true;
  }
  return true;
}

void ReleaseStream(PAVISTREAM& stream) {
  if (stream) AVIStreamRelease(stream);
  stream = nullptr;
}

bool IsCompressor(DWORD fourcc) {
  return fourcc != 0 && fourcc != mmioFOURCC('D', 'I', 'B', ' ');
}

}  // namespace

CAviCaptureFile::CAviCaptureFile()
    : m_file(nullptr),
      m_video(nullptr),
      m_rawVideo(nullptr),
      m_sound(nullptr),
      m_frame(),
      m_blockAlign(1),
      m_frames(0),
      m_soundBlocks(0),
      m_failed(false),
      m_reachedLimit(false),
      m_microSecondsPerFrame(0),
      m_bytes(0) {
  AVIFileInit();
}

CAviCaptureFile::~CAviCaptureFile() {
  Close();
  AVIFileExit();
}

bool CAviCaptureFile::Create(const std::string& path, const BITMAPINFOHEADER& frame, DWORD microSecondsPerFrame,
                             const WAVEFORMATEX* sound, DWORD compressor, LONG quality) {
  Close();
  m_frame = frame;
  m_blockAlign = sound && sound->nBlockAlign ? sound->nBlockAlign : 1;
  m_frames = 0;
  m_soundBlocks = 0;
  m_failed = false;
  m_reachedLimit = false;
  m_bytes = kHeaderBytes;
  m_path = path;
  m_microSecondsPerFrame = microSecondsPerFrame;
  DeleteFileA(path.c_str());
  if (AVIFileOpenA(&m_file, path.c_str(), OF_CREATE | OF_WRITE, nullptr) != AVIERR_OK) {
    m_file = nullptr;
    return false;
  }

  AVISTREAMINFOA video = {};
  video.fccType = streamtypeVIDEO;
  video.fccHandler = IsCompressor(compressor) ? compressor : mmioFOURCC('D', 'I', 'B', ' ');
  video.dwScale = microSecondsPerFrame;
  video.dwRate = 1000000;
  video.dwQuality = static_cast<DWORD>(-1);
  video.dwSuggestedBufferSize = frame.biSizeImage;
  SetRect(&video.rcFrame, 0, 0, frame.biWidth, frame.biHeight);
  lstrcpynA(video.szName, "Video", sizeof video.szName);
  bool made = AVIFileCreateStreamA(m_file, &m_rawVideo, &video) == AVIERR_OK;
  if (made && IsCompressor(compressor)) {
    AVICOMPRESSOPTIONS options = {};
    options.fccType = streamtypeVIDEO;
    options.fccHandler = compressor;
    options.dwQuality = static_cast<DWORD>(quality);
    options.dwKeyFrameEvery = 15;
    options.dwFlags = AVICOMPRESSF_KEYFRAMES | AVICOMPRESSF_VALID;
    made = AVIMakeCompressedStream(&m_video, m_rawVideo, &options, nullptr) == AVIERR_OK;
  } else if (made) {
    m_video = m_rawVideo;
    m_rawVideo = nullptr;
  }
  BITMAPINFOHEADER format = frame;
  made = made && AVIStreamSetFormat(m_video, 0, &format, sizeof format) == AVIERR_OK;

  if (sound) {
    AVISTREAMINFOA audio = {};
    audio.fccType = streamtypeAUDIO;
    audio.dwScale = m_blockAlign;
    audio.dwRate = sound->nAvgBytesPerSec;
    audio.dwSampleSize = m_blockAlign;
    audio.dwQuality = static_cast<DWORD>(-1);
    lstrcpynA(audio.szName, "Sound", sizeof audio.szName);
    made = made && AVIFileCreateStreamA(m_file, &m_sound, &audio) == AVIERR_OK;
    // The format as chosen, with its extra bytes (18 + cbSize in all).
    made = made && AVIStreamSetFormat(m_sound, 0, const_cast<WAVEFORMATEX*>(sound),
                                      static_cast<LONG>(sizeof(WAVEFORMATEX) + sound->cbSize)) == AVIERR_OK;
  }
  if (!made) {
    Close();
    DeleteFileA(path.c_str());
    return false;
  }
  return true;
}

bool CAviCaptureFile::Reserve(LONG bytes) {
  const long long chunk = kChunkOverhead + ((static_cast<long long>(bytes) + 1) & ~1LL);
  if (m_bytes + chunk > gSizeLimit.load()) {
    m_reachedLimit = true;
    return false;
  }
  m_bytes += chunk;
  return true;
}

// One chunk into stream, reckoned before against the limit and afterwards
// at the bytes really stored (a compressor's output is smaller).
bool CAviCaptureFile::Write(PAVISTREAM stream, LONG start, LONG samples, const void* data, LONG bytes,
                            DWORD flags) {
  if (m_failed || !stream) return false;
  if (!Reserve(bytes) || !TakeFromBudget(bytes)) {
    m_failed = true;
    return false;
  }
  LONG stored = 0;
  const HRESULT result =
      AVIStreamWrite(stream, start, samples, const_cast<void*>(data), bytes, flags, nullptr, &stored);
  if (result != AVIERR_OK) {
    m_failed = true;
    return false;
  }
  if (stored > 0 && stored < bytes) m_bytes -= ((static_cast<long long>(bytes) + 1) & ~1LL) - ((stored + 1) & ~1L);
  return true;
}

bool CAviCaptureFile::WriteFrame(const void* bits) {
  if (!Write(m_video, m_frames, 1, bits, static_cast<LONG>(m_frame.biSizeImage), AVIIF_KEYFRAME)) return false;
  ++m_frames;
  return true;
}

bool CAviCaptureFile::WriteSound(const void* bytes, DWORD count) {
  if (m_failed || !m_sound) return false;
  const LONG blocks = static_cast<LONG>(count / m_blockAlign);
  if (blocks == 0) return true;
  if (!Write(m_sound, -1, blocks, bytes, static_cast<LONG>(blocks * m_blockAlign), 0)) return false;
  m_soundBlocks += blocks;
  return true;
}

void CAviCaptureFile::Close() {
  // Streams first: releasing the file last writes the headers and the index.
  ReleaseStream(m_video);
  ReleaseStream(m_rawVideo);
  ReleaseStream(m_sound);
  if (!m_file) return;
  AVIFileRelease(m_file);
  m_file = nullptr;
  WriteFramePeriod();
}

// Rule 5: the main header's frame period, written over what avifil32 left
// there once the file is complete, after checking that the chunks are where
// they must be: RIFF "AVI ", LIST "hdrl", "avih".
void CAviCaptureFile::WriteFramePeriod() const {
  HANDLE file = CreateFileA(m_path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  char header[36] = {};
  DWORD count = 0;
  if (ReadFile(file, header, sizeof header, &count, nullptr) && count == sizeof header &&
      std::memcmp(header, "RIFF", 4) == 0 && std::memcmp(header + 8, "AVI LIST", 8) == 0 &&
      std::memcmp(header + 20, "hdrlavih", 8) == 0) {
    DWORD period = m_microSecondsPerFrame;
    if (SetFilePointer(file, 32, nullptr, FILE_BEGIN) == 32) WriteFile(file, &period, sizeof period, &count, nullptr);
  }
  CloseHandle(file);
}

void CAviCaptureFile::FailWritesAfter(long long bytes) {
  gWriteBudget = bytes;
}

void CAviCaptureFile::SetSizeLimit(long long bytes) {
  gSizeLimit = bytes > 0 ? bytes : kSizeLimit;
}

long long CAviCaptureFile::SizeLimit() {
  return gSizeLimit.load();
}
