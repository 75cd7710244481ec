// CFile: flag mapping and the checked platform calls.
#include "Library/CFile.h"

CFile::~CFile() {
  if (IsOpen()) CloseHandle(m_handle);
}

void CFile::ThrowLastError() {
  throw CFileException(GetLastError());
}

CFile::OpenMode CFile::ModeFor(unsigned flags) {
  OpenMode mode = {0, 0, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL};
  if (flags & kRead) mode.access |= GENERIC_READ;
  if (flags & kWrite) mode.access |= GENERIC_WRITE;
  if (flags & kReadWrite) mode.access |= GENERIC_READ | GENERIC_WRITE;
  if (!(flags & kShareExclusive)) {
    if (flags & kShareRead) mode.share |= FILE_SHARE_READ;
    if (flags & kShareWrite) mode.share |= FILE_SHARE_WRITE;
  }
  if (flags & kCreateAlways) {
    mode.disposition = CREATE_ALWAYS;
  } else if (flags & kCreateNew) {
    mode.disposition = CREATE_NEW;
  } else if (flags & kOpenAlways) {
    mode.disposition = OPEN_ALWAYS;
  } else {
    // Existing files are read front to back.
    mode.attributes = FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN;
  }
  return mode;
}

void CFile::Open(const char* path, unsigned flags) {
  Close();
  OpenMode mode = ModeFor(flags);
  HANDLE handle =
      CreateFileA(path, mode.access, mode.share, nullptr, mode.disposition, mode.attributes, nullptr);
  if (handle == INVALID_HANDLE_VALUE) ThrowLastError();
  m_handle = handle;
  if (mode.disposition == OPEN_ALWAYS) SeekToEnd();
}

unsigned long CFile::Read(void* buffer, unsigned long count) {
  if (count == 0) return 0;
  DWORD read = 0;
  if (!ReadFile(m_handle, buffer, count, &read, nullptr)) ThrowLastError();
  return read;
}

unsigned long CFile::Write(const void* buffer, unsigned long count) {
  if (count == 0) return 0;
  DWORD written = 0;
  if (!WriteFile(m_handle, buffer, count, &written, nullptr)) ThrowLastError();
  return written;
}

unsigned long CFile::Seek(long distance, unsigned long origin) {
  DWORD position = SetFilePointer(m_handle, distance, nullptr, origin);
  if (position == INVALID_SET_FILE_POINTER) ThrowLastError();
  return position;
}

unsigned long CFile::GetLength(unsigned long* high) {
  DWORD highPart = 0;
  SetLastError(NO_ERROR);
  DWORD low = GetFileSize(m_handle, high ? &highPart : nullptr);
  if (low == INVALID_FILE_SIZE) {
    // With a place for the high part, all ones is a valid low part
    // unless the platform also reports an error.
    DWORD error = GetLastError();
    if (!high || error != NO_ERROR) throw CFileException(error);
  }
  if (high) *high = highPart;
  return low;
}

void CFile::Close() {
  if (!IsOpen()) return;
  if (!CloseHandle(m_handle)) ThrowLastError();
  m_handle = INVALID_HANDLE_VALUE;
}
