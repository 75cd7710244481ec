// Windows: a HANDLE from CreateFileA; ReadFile and WriteFile take their
// offset in an OVERLAPPED structure, which on a handle opened without
// FILE_FLAG_OVERLAPPED makes each a positioned, synchronous call.
#include <windows.h>

#include "Database/gxFileHandle.h"

namespace gxPlatformFile {

namespace {

HANDLE AsHandle(std::intptr_t handle) {
  return reinterpret_cast<HANDLE>(handle);
}

OVERLAPPED At(std::uint64_t offset) {
  OVERLAPPED overlapped = {};
  overlapped.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
  overlapped.OffsetHigh = static_cast<DWORD>(offset >> 32);
  return overlapped;
}

// One call moves at most this much, so the count always fits a DWORD.
constexpr std::size_t kLargestTransfer = 1u << 30;

}  // namespace

bool Open(const char* fileName, gxFileHandle::Access access, std::intptr_t& handle) {
  DWORD desired = GENERIC_READ | GENERIC_WRITE;
  DWORD disposition = OPEN_EXISTING;
  if (access == gxFileHandle::Access::CreateReadWrite) disposition = CREATE_ALWAYS;
  if (access == gxFileHandle::Access::ReadOnly) desired = GENERIC_READ;
  // Shared for reading and writing, as the C runtime's fopen shares: other
  // store objects and tools may open the same file meanwhile.
  HANDLE file = CreateFileA(fileName, desired, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, disposition,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  handle = reinterpret_cast<std::intptr_t>(file);
  return true;
}

bool Close(std::intptr_t handle) {
  return CloseHandle(AsHandle(handle)) != FALSE;
}

std::size_t ReadAt(std::intptr_t handle, void* buffer, std::size_t length, std::uint64_t offset) {
  std::size_t done = 0;
  while (done < length) {
    const std::size_t piece = length - done < kLargestTransfer ? length - done : kLargestTransfer;
    OVERLAPPED overlapped = At(offset + done);
    DWORD got = 0;
    // At the end of the file a synchronous ReadFile succeeds with 0 bytes
    // (or fails with ERROR_HANDLE_EOF): either way the loop ends.
    if (!ReadFile(AsHandle(handle), static_cast<char*>(buffer) + done, static_cast<DWORD>(piece), &got,
                  &overlapped) ||
        got == 0)
      break;
    done += got;
  }
  return done;
}

std::size_t WriteAt(std::intptr_t handle, const void* buffer, std::size_t length, std::uint64_t offset) {
  std::size_t done = 0;
  while (done < length) {
    const std::size_t piece = length - done < kLargestTransfer ? length - done : kLargestTransfer;
    OVERLAPPED overlapped = At(offset + done);
    DWORD put = 0;
    if (!WriteFile(AsHandle(handle), static_cast<const char*>(buffer) + done, static_cast<DWORD>(piece), &put,
                   &overlapped) ||
        put == 0)
      break;
    done += put;
  }
  return done;
}

std::int64_t Length(std::intptr_t handle) {
  LARGE_INTEGER size;
  if (!GetFileSizeEx(AsHandle(handle), &size)) return -1;
  return static_cast<std::int64_t>(size.QuadPart);
}

bool TryLock(std::intptr_t handle) {
  OVERLAPPED overlapped = At(kWriterLockOffset);
  return LockFileEx(AsHandle(handle), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                    &overlapped) != FALSE;
}

void Unlock(std::intptr_t handle) {
  OVERLAPPED overlapped = At(kWriterLockOffset);
  UnlockFileEx(AsHandle(handle), 0, 1, 0, &overlapped);
}

void Pause(unsigned milliseconds) {
  Sleep(milliseconds);
}

}  // namespace gxPlatformFile
