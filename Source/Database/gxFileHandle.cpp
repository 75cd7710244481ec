// The position, the known length and the fault-injection hooks; the system
// calls themselves are in gxFileHandle_Win32.cpp and gxFileHandle_Posix.cpp.
#include "Database/gxFileHandle.h"

#include <sys/stat.h>
#include <sys/types.h>

#include "Database/gxFaultInjection.h"

gxFileHandle::~gxFileHandle() {
  Close();
}

bool gxFileHandle::Open(const char* fileName, Access access) {
  Close();
  if (fileName == nullptr || gxFaultShouldFail(gxFaultOp::Open)) return false;
  if (!gxPlatformFile::Open(fileName, access, m_handle)) return false;
  m_open = true;
  m_position = 0;
  m_knownLength = 0;
  return true;
}

bool gxFileHandle::Close() {
  if (!m_open) return true;
  m_open = false;
  return gxPlatformFile::Close(m_handle);
}

std::size_t gxFileHandle::Read(void* buffer, std::size_t length) {
  if (!m_open || length == 0) return 0;
  // A failing read is a short one: half the bytes arrive, the caller must
  // notice that the rest did not.
  if (gxFaultShouldFail(gxFaultOp::Read)) length /= 2;
  const std::size_t got = length == 0 ? 0 : gxPlatformFile::ReadAt(m_handle, buffer, length, m_position);
  m_position += got;
  return got;
}

std::size_t gxFileHandle::Write(const void* buffer, std::size_t length) {
  if (!m_open || length == 0) return 0;
  // A failing write is a torn one: the first half reaches the file.
  if (gxFaultShouldFail(gxFaultOp::Write)) length /= 2;
  const std::size_t put = length == 0 ? 0 : gxPlatformFile::WriteAt(m_handle, buffer, length, m_position);
  m_position += put;
  if (m_position > m_knownLength) m_knownLength = m_position;
  return put;
}

bool gxFileHandle::Flush() {
  return m_open && !gxFaultShouldFail(gxFaultOp::Flush);
}

bool gxFileHandle::Seek(std::uint64_t position) {
  if (!m_open || gxFaultShouldFail(gxFaultOp::Seek)) return false;
  m_position = position;
  return true;
}

std::int64_t gxFileHandle::Length() {
  if (!m_open) return -1;
  const std::int64_t length = gxPlatformFile::Length(m_handle);
  if (length >= 0) m_knownLength = static_cast<std::uint64_t>(length);
  return length;
}

bool gxFileHandle::TryLock() {
  return m_open && gxPlatformFile::TryLock(m_handle);
}

void gxFileHandle::Unlock() {
  if (m_open) gxPlatformFile::Unlock(m_handle);
}

#ifdef _WIN32
typedef struct _stati64 QmStat;
#define QM_STAT _stati64
#else
typedef struct stat QmStat;
#define QM_STAT stat
#endif

bool gxFileExists(const char* fileName) {
  if (fileName == nullptr) return false;
  QmStat status;
  return QM_STAT(fileName, &status) == 0;
}
