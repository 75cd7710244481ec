// CString's block management (allocation, sharing, copy on write) and its
// text operations. Counters change only through the interlocked calls so that
// shared blocks can be released on any thread.
#include "Library/CString.h"

#include "Library/CMemoryException.h"
#include "Library/CWinApp.h"

#include <windows.h>

#include <cctype>
#include <cstdarg>
#include <cstdlib>
#include <cstring>

namespace {

// Pointers up to this value are string-resource ids (MAKEINTRESOURCE), not texts.
const unsigned long kLargestResourceId = 0xFFFF;

bool IsResourceId(const char* text) {
  unsigned long value = reinterpret_cast<unsigned long>(text);
  return value >= 1 && value <= kLargestResourceId;
}

bool IsTrimmedSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// wvsprintfA never writes more than 1024 characters; the scratch buffer is
// larger so that its terminating zero always lies inside it.
const int kFormatBufferSize = 4096;
const int kFormatLimit = 1024;
const int kFirstResourceRoom = 256;

}  // namespace

int CString::CapacityFor(int length) {
  if (length < 64) return 64;
  if (length < 128) return 128;
  if (length < 256) return 256;
  if (length < 320) return 320;
  if (length < 384) return 384;
  if (length < 448) return 448;
  if (length < 512) return 512;
  return ((length + 7) & ~7) + 8;
}

char* CString::AllocateBlock(int capacity) {
  void* block = std::malloc(sizeof(Header) + capacity + 1);
  if (!block) throw CMemoryException();
  Header* header = static_cast<Header*>(block);
  header->refCount = 1;
  header->length = 0;
  header->capacity = capacity;
  char* data = reinterpret_cast<char*>(header + 1);
  data[0] = '\0';
  return data;
}

CString::CString() : m_data(nullptr) {}

CString::CString(const char* text, int length) : m_data(nullptr) {
  if (IsResourceId(text)) {
    LoadResourceString(static_cast<unsigned>(reinterpret_cast<unsigned long>(text)));
    return;
  }
  if (text) Assign(text, length < 0 ? static_cast<int>(std::strlen(text)) : length);
}

CString::CString(const CString& other) : m_data(other.m_data) {
  if (m_data) InterlockedIncrement(const_cast<long*>(&GetHeader()->refCount));
}

CString::~CString() {
  Release();
}

CString& CString::operator=(const CString& other) {
  if (other.m_data == m_data) return *this;
  // Take the reference before letting go of ours: other may be held only
  // through a block this string is about to release.
  char* shared = other.m_data;
  if (shared) InterlockedIncrement(const_cast<long*>(&other.GetHeader()->refCount));
  Release();
  m_data = shared;
  return *this;
}

CString& CString::operator=(const char* text) {
  if (IsResourceId(text)) {
    LoadResourceString(static_cast<unsigned>(reinterpret_cast<unsigned long>(text)));
  } else if (!text) {
    Release();
  } else if (m_data && text >= m_data && text <= m_data + GetHeader()->length) {
    // The text lies in our own block, which Assign may give up.
    CString copy(text);
    *this = copy;
  } else {
    Assign(text, static_cast<int>(std::strlen(text)));
  }
  return *this;
}

void CString::Assign(const char* text, int length) {
  // A shared block is let go rather than copied: its text is replaced anyway.
  if (m_data && GetHeader()->refCount > 1) Release();
  MakeRoom(length, false);
  std::memcpy(m_data, text, length);
  m_data[length] = '\0';
}

void CString::Release() {
  if (!m_data) return;
  if (InterlockedDecrement(const_cast<long*>(&GetHeader()->refCount)) <= 0) std::free(GetHeader());
  m_data = nullptr;
}

void CString::MakeRoom(int length, bool keep) {
  if (length < 0) length = 0;
  if (!m_data) {
    m_data = AllocateBlock(CapacityFor(length));
  } else if (GetHeader()->capacity - 1 < length) {
    Header* old = GetHeader();
    char* grown = AllocateBlock(CapacityFor(length));
    if (keep) std::memcpy(grown, m_data, old->capacity + 1);
    Release();
    m_data = grown;
  }
  GetHeader()->length = length;
  m_data[length] = '\0';
}

void CString::MakeUnique() {
  if (!m_data || GetHeader()->refCount <= 1) return;
  Header* old = GetHeader();
  char* copy = AllocateBlock(CapacityFor(old->capacity));
  Header* header = reinterpret_cast<Header*>(copy) - 1;
  header->length = old->length;
  std::memcpy(copy, m_data, old->length + 1);
  Release();
  m_data = copy;
}

int CString::GetLength() const {
  return m_data ? GetHeader()->length : 0;
}

int CString::GetCapacity() const {
  return m_data ? GetHeader()->capacity : 0;
}

long CString::GetShareCount() const {
  return m_data ? GetHeader()->refCount : 0;
}

void CString::Empty() {
  if (!m_data) return;
  MakeUnique();
  GetHeader()->length = 0;
  m_data[0] = '\0';
}

bool CString::SetLength(int n) {
  if (!m_data || n < 0) return false;
  if (n == GetHeader()->length) return true;
  if (n > GetHeader()->capacity) return false;
  MakeUnique();
  GetHeader()->length = n;
  m_data[n] = '\0';
  return true;
}

char* CString::PrepareBuffer(int n, bool keep) {
  Empty();
  MakeRoom(n + 1, keep);
  GetHeader()->length = n < 0 ? 0 : n;
  m_data[GetHeader()->length] = '\0';
  return m_data;
}

void CString::Append(const char* text) {
  if (!text) return;
  Append(text, static_cast<int>(std::strlen(text)));
}

void CString::Append(const char* text, int length) {
  if (!text || length <= 0) return;
  if (m_data && text >= m_data && text <= m_data + GetHeader()->capacity) {
    // Appending part of ourselves: growing may free the source.
    CString copy(text, length);
    Append(copy);
    return;
  }
  int oldLength = GetLength();
  MakeUnique();
  MakeRoom(oldLength + length, true);
  std::memcpy(m_data + oldLength, text, length);
  m_data[oldLength + length] = '\0';
}

void CString::Append(const CString& other) {
  if (other.IsEmpty()) return;
  // Holding a reference keeps other's block alive when other is this string.
  CString source(other);
  int oldLength = GetLength();
  int added = source.GetLength();
  MakeUnique();
  MakeRoom(oldLength + added, true);
  std::memcpy(m_data + oldLength, source.m_data, added);
  m_data[oldLength + added] = '\0';
}

CString CString::Left(int count) const {
  if (count < 0) count = 0;
  if (count > GetLength()) count = GetLength();
  return CString(GetString(), count);
}

CString CString::Mid(int start, int count) const {
  int length = GetLength();
  if (start < 0) start = 0;
  if (start > length) start = length;
  if (count < 0 || count > length - start) count = length - start;
  return CString(GetString() + start, count);
}

int CString::ReverseFind(char character) const {
  for (int i = GetLength() - 1; i >= 0; --i) {
    if (m_data[i] == character) return i;
  }
  return -1;
}

bool CString::Equals(const char* text) const {
  if (!m_data || !text) return false;
  return std::strcmp(m_data, text) == 0;
}

char CString::CharAt(int index) const {
  if (index < 0 || index >= GetLength()) return '\0';
  return m_data[index];
}

void CString::Trim() {
  int length = GetLength();
  int end = length;
  while (end > 0 && IsTrimmedSpace(m_data[end - 1])) --end;
  int start = 0;
  while (start < end && IsTrimmedSpace(m_data[start])) ++start;
  if (start == 0 && end == length) return;
  MakeUnique();
  std::memmove(m_data, m_data + start, end - start);
  GetHeader()->length = end - start;
  m_data[end - start] = '\0';
}

void CString::MakeLower() {
  if (IsEmpty()) return;
  MakeUnique();
  for (int i = 0; i < GetHeader()->length; ++i) {
    m_data[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(m_data[i])));
  }
}

int CString::ExtractField(char separator, int start, CString& out) const {
  int length = GetLength();
  if (length == 0 || start < 0 || start >= length) return 0;
  int end = start;
  while (end < length && m_data[end] != separator) ++end;
  out = CString(m_data + start, end - start);
  return end + 1;
}

void CString::Format(const char* format, ...) {
  char* buffer = static_cast<char*>(std::calloc(kFormatBufferSize, 1));
  if (!buffer) throw CMemoryException();
  va_list arguments;
  va_start(arguments, format);
  int written = wvsprintfA(buffer, format, arguments);
  va_end(arguments);
  // At the limit the count is not to be trusted (Wine reports 1024 for
  // 1023 characters and a zero; others report -1): the zero the formatter
  // wrote, or the zeroed scratch buffer, marks where the text ends.
  if (written < 0 || written >= kFormatLimit) written = static_cast<int>(strnlen(buffer, kFormatLimit));
  try {
    Assign(buffer, written);
  } catch (...) {
    std::free(buffer);
    throw;
  }
  std::free(buffer);
}

void CString::FormatSystemError(unsigned long code) {
  char* message = nullptr;
  DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<char*>(&message), 0, nullptr);
  if (length > 0 && message) {
    try {
      Assign(message, static_cast<int>(length));
    } catch (...) {
      LocalFree(message);
      throw;
    }
    LocalFree(message);
    return;
  }
  if (message) LocalFree(message);
  Format("Error %ld occured.", static_cast<long>(code));
}

bool CString::LoadResourceString(unsigned id) {
  HINSTANCE instance = gApp.GetResourceInstance();
  char first[kFirstResourceRoom];
  int loaded = LoadStringA(instance, id, first, kFirstResourceRoom);
  if (loaded < kFirstResourceRoom - 1) {
    if (loaded <= 0) return false;
    Assign(first, loaded);
    return true;
  }
  // The first buffer was full: load straight into the string with ever
  // more room until the text no longer fills it.
  int room = kFirstResourceRoom;
  do {
    room += kFirstResourceRoom;
    PrepareBuffer(room);
    loaded = LoadStringA(instance, id, m_data, room);
  } while (loaded >= room - 1);
  SetLength(loaded);
  return loaded > 0;
}
