// The engine's one file layer: the platform's own file handle (a Win32
// HANDLE, a POSIX descriptor) with the position kept here in memory, so that
// every read and every write is one positioned system call (ReadFile or
// WriteFile with an explicit offset, pread or pwrite) and moving the position
// costs nothing. There is no buffer: a write hands its bytes to the
// operating system before it returns. Positions are 64-bit so the whole
// 32-bit address range is reachable. The fault-injection hooks (Open, Read,
// Write, Flush, Seek) sit on these calls.
#ifndef QUILLMATE_DATABASE_GXFILEHANDLE_H
#define QUILLMATE_DATABASE_GXFILEHANDLE_H

#include <cstddef>
#include <cstdint>

class gxFileHandle {
 public:
  enum class Access {
    CreateReadWrite,  // create, or truncate what exists
    ReadWrite,        // an existing file
    ReadOnly          // an existing file
  };

  gxFileHandle() = default;
  ~gxFileHandle();
  gxFileHandle(const gxFileHandle&) = delete;
  gxFileHandle& operator=(const gxFileHandle&) = delete;

  // False when nothing was opened. The position starts at 0.
  bool Open(const char* fileName, Access access);
  // False when closing reported an error; the handle is released either way.
  bool Close();
  bool IsOpen() const { return m_open; }

  // Reads or writes at the position and moves it past the bytes transferred.
  // Both return the number of bytes transferred: a read stops short at the
  // end of the file, either stops short on a failure.
  std::size_t Read(void* buffer, std::size_t length);
  std::size_t Write(const void* buffer, std::size_t length);

  // Every write has already handed its bytes to the operating system; a
  // flush asks for nothing more (no FlushFileBuffers, no fsync).
  bool Flush();
  bool Seek(std::uint64_t position);
  std::uint64_t Position() const { return m_position; }

  // Length from the file-status query, -1 on failure.
  std::int64_t Length();
  // The length this handle has seen: the last Length() answer, grown by
  // every write past it. Another writer can only have made the file longer.
  std::uint64_t KnownLength() const { return m_knownLength; }

  // The writers' lock: exclusive, on one byte at kWriterLockOffset, taken
  // without waiting (false when another handle holds it) and released by
  // Unlock or when the handle closes. Two handles of one process exclude each
  // other as two processes do: the lock belongs to the open file, not to the
  // process (LockFileEx; open-file-description locks on POSIX, since classic
  // fcntl locks vanish when any descriptor of the file closes).
  bool TryLock();
  void Unlock();

 private:
  bool m_open = false;
  std::intptr_t m_handle = -1;  // HANDLE or descriptor
  std::uint64_t m_position = 0;
  std::uint64_t m_knownLength = 0;
};

// The writers' lock lies at 4 GB, beyond every address a database can hold:
// Windows enforces range locks on reads and writes, and no data is there.
constexpr std::uint64_t kWriterLockOffset = 0x100000000ull;

// The file-status query: true when a file of that name exists.
bool gxFileExists(const char* fileName);

// One implementation per platform (gxFileHandle_Win32.cpp, _Posix.cpp).
// Each transfers up to length bytes at offset and returns how many it did,
// looping over partial transfers; 0 at the end of the file or on a failure.
namespace gxPlatformFile {
bool Open(const char* fileName, gxFileHandle::Access access, std::intptr_t& handle);
bool Close(std::intptr_t handle);
std::size_t ReadAt(std::intptr_t handle, void* buffer, std::size_t length, std::uint64_t offset);
std::size_t WriteAt(std::intptr_t handle, const void* buffer, std::size_t length, std::uint64_t offset);
std::int64_t Length(std::intptr_t handle);
bool TryLock(std::intptr_t handle);
void Unlock(std::intptr_t handle);
// Sleeps for about milliseconds (a writer waiting for the lock).
void Pause(unsigned milliseconds);
}  // namespace gxPlatformFile

#endif  // QUILLMATE_DATABASE_GXFILEHANDLE_H
