// POSIX: a descriptor, pread and pwrite (64-bit offsets, see CMakeLists.txt).
#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include "Database/gxFileHandle.h"

namespace gxPlatformFile {

bool Open(const char* fileName, gxFileHandle::Access access, std::intptr_t& handle) {
  int flags = O_CLOEXEC;
  switch (access) {
    case gxFileHandle::Access::CreateReadWrite:
      flags |= O_RDWR | O_CREAT | O_TRUNC;
      break;
    case gxFileHandle::Access::ReadWrite:
      flags |= O_RDWR;
      break;
    case gxFileHandle::Access::ReadOnly:
      flags |= O_RDONLY;
      break;
  }
  int descriptor;
  do {
    descriptor = open(fileName, flags, 0666);
  } while (descriptor < 0 && errno == EINTR);
  if (descriptor < 0) return false;
  handle = descriptor;
  return true;
}

bool Close(std::intptr_t handle) {
  // After close fails (even with EINTR) the descriptor is gone: never retry.
  return close(static_cast<int>(handle)) == 0;
}

std::size_t ReadAt(std::intptr_t handle, void* buffer, std::size_t length, std::uint64_t offset) {
  std::size_t done = 0;
  while (done < length) {
    const ssize_t got = pread(static_cast<int>(handle), static_cast<char*>(buffer) + done, length - done,
                              static_cast<off_t>(offset + done));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    done += static_cast<std::size_t>(got);
  }
  return done;
}

std::size_t WriteAt(std::intptr_t handle, const void* buffer, std::size_t length, std::uint64_t offset) {
  std::size_t done = 0;
  while (done < length) {
    const ssize_t put = pwrite(static_cast<int>(handle), static_cast<const char*>(buffer) + done,
                               length - done, static_cast<off_t>(offset + done));
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) break;
    done += static_cast<std::size_t>(put);
  }
  return done;
}

std::int64_t Length(std::intptr_t handle) {
  struct stat status;
  if (fstat(static_cast<int>(handle), &status) != 0) return -1;
  return static_cast<std::int64_t>(status.st_size);
}

namespace {

bool SetWriterLock(std::intptr_t handle, short type) {
  struct flock lock = {};
  lock.l_type = type;
  lock.l_whence = SEEK_SET;
  lock.l_start = static_cast<off_t>(kWriterLockOffset);
  lock.l_len = 1;
  int result;
  do {
    result = fcntl(static_cast<int>(handle), F_OFD_SETLK, &lock);
  } while (result != 0 && errno == EINTR);
  return result == 0;
}

}  // namespace

bool TryLock(std::intptr_t handle) {
  return SetWriterLock(handle, F_WRLCK);
}

void Unlock(std::intptr_t handle) {
  SetWriterLock(handle, F_UNLCK);
}

void Pause(unsigned milliseconds) {
  struct timespec wait = {static_cast<time_t>(milliseconds / 1000),
                          static_cast<long>(milliseconds % 1000) * 1000000L};
  while (nanosleep(&wait, &wait) != 0 && errno == EINTR) {
  }
}

}  // namespace gxPlatformFile
