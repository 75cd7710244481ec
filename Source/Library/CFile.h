// CFile: a thin owner of one platform file handle for attachment files. It
// never reports failure by return value: every platform failure throws a
// CFileException with the last-error code read right after the failing call.
#pragma once

#include "Library/CFileException.h"

#include <windows.h>

class CFile {
 public:
  // Open flags, combined with |.
  enum OpenFlags : unsigned {
    kCreateNew = 0x01,        // CREATE_NEW (when kCreateAlways is not set)
    kCreateAlways = 0x02,     // CREATE_ALWAYS
    kOpenAlways = 0x04,       // OPEN_ALWAYS, then position at the end
    kRead = 0x08,             // GENERIC_READ
    kWrite = 0x10,            // GENERIC_WRITE
    kReadWrite = 0x20,        // GENERIC_READ | GENERIC_WRITE
    kShareRead = 0x40,        // FILE_SHARE_READ
    kShareWrite = 0x80,       // FILE_SHARE_WRITE
    kShareExclusive = 0x100,  // no sharing, overrides the two above
  };

  CFile() : m_handle(INVALID_HANDLE_VALUE) {}
  // Closes a file still open; a failure to close is not reported here.
  virtual ~CFile();
  CFile(const CFile&) = delete;
  CFile& operator=(const CFile&) = delete;

  void Open(const char* path, unsigned flags);
  // A count of 0 returns 0 without touching the file.
  unsigned long Read(void* buffer, unsigned long count);
  unsigned long Write(const void* buffer, unsigned long count);
  // origin is FILE_BEGIN, FILE_CURRENT or FILE_END; returns the new position.
  unsigned long Seek(long distance, unsigned long origin);
  unsigned long SeekToEnd() { return Seek(0, FILE_END); }
  // Low 32 bits of the size; the high 32 bits go to high when it is given.
  unsigned long GetLength(unsigned long* high = nullptr);
  // Does nothing when no file is open.
  void Close();

  bool IsOpen() const { return m_handle != INVALID_HANDLE_VALUE; }
  HANDLE GetHandle() const { return m_handle; }

  // The CreateFileA arguments that flags stand for.
  struct OpenMode {
    unsigned long access;
    unsigned long share;
    unsigned long disposition;
    unsigned long attributes;
  };
  static OpenMode ModeFor(unsigned flags);

 private:
  [[noreturn]] static void ThrowLastError();

  HANDLE m_handle;
};
