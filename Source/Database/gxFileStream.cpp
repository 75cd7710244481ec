// stdio with 64-bit offsets: _fseeki64/_ftelli64/_fstati64 in the MinGW
// runtime, fseeko/ftello/fstat elsewhere.
#include "Database/gxFileStream.h"

#include <sys/stat.h>
#include <sys/types.h>

#include "Database/gxFaultInjection.h"

#ifdef _WIN32
#include <io.h>
#define QM_FSEEK _fseeki64
#define QM_FTELL _ftelli64
#define QM_FILENO _fileno
#define QM_FSTAT _fstati64
typedef struct _stati64 QmStat;
#define QM_STAT _stati64
#else
#include <unistd.h>
#define QM_FSEEK fseeko
#define QM_FTELL ftello
#define QM_FILENO fileno
#define QM_FSTAT fstat
typedef struct stat QmStat;
#define QM_STAT stat
#endif

gxFileStream::~gxFileStream() {
  Close();
}

bool gxFileStream::Open(const char* fileName, const char* mode) {
  Close();
  if (fileName == nullptr || gxFaultShouldFail(gxFaultOp::Open)) return false;
  m_file = std::fopen(fileName, mode);
  return m_file != nullptr;
}

bool gxFileStream::Close() {
  if (m_file == nullptr) return true;
  const bool closed = std::fclose(m_file) == 0;
  m_file = nullptr;
  return closed;
}

std::size_t gxFileStream::Read(void* buffer, std::size_t length) {
  if (m_file == nullptr) return 0;
  if (gxFaultShouldFail(gxFaultOp::Read)) {
    // A short read: half the bytes arrive, the caller must notice the rest did not.
    const std::size_t half = length / 2;
    return half == 0 ? 0 : std::fread(buffer, 1, half, m_file);
  }
  return std::fread(buffer, 1, length, m_file);
}

std::size_t gxFileStream::Write(const void* buffer, std::size_t length) {
  if (m_file == nullptr) return 0;
  if (gxFaultShouldFail(gxFaultOp::Write)) {
    // A torn write: the first half reaches the file, the rest is lost.
    const std::size_t half = length / 2;
    return half == 0 ? 0 : std::fwrite(buffer, 1, half, m_file);
  }
  return std::fwrite(buffer, 1, length, m_file);
}

bool gxFileStream::Flush() {
  if (m_file == nullptr || gxFaultShouldFail(gxFaultOp::Flush)) return false;
  return std::fflush(m_file) == 0;
}

void gxFileStream::DropReadAhead() {
  if (m_file != nullptr) std::fflush(m_file);
}

bool gxFileStream::Seek(std::int64_t offset, Origin origin) {
  if (m_file == nullptr || gxFaultShouldFail(gxFaultOp::Seek)) return false;
  const int whence = origin == FromStart ? SEEK_SET : origin == FromCurrent ? SEEK_CUR : SEEK_END;
  return QM_FSEEK(m_file, offset, whence) == 0;
}

std::int64_t gxFileStream::Tell() {
  if (m_file == nullptr) return -1;
  return static_cast<std::int64_t>(QM_FTELL(m_file));
}

std::int64_t gxFileStream::Length() {
  if (m_file == nullptr) return -1;
  QmStat status;
  if (QM_FSTAT(QM_FILENO(m_file), &status) != 0) return -1;
  return static_cast<std::int64_t>(status.st_size);
}

bool gxFileExists(const char* fileName) {
  if (fileName == nullptr) return false;
  QmStat status;
  return QM_STAT(fileName, &status) == 0;
}
