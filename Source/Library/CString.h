// CString: the toolkit's reference-counted string of 8-bit (ANSI code page)
// characters, used for paths, names, messages and list texts. Copies share one
// heap block; the block is copied only when a shared string is about to change.
//
// Block layout (one allocation, capacity + 13 bytes):
//   offset 0   reference count  32-bit signed, changed only with interlocked ops
//   offset 4   length           32-bit signed, characters in use
//   offset 8   capacity         32-bit signed, room for characters without the zero
//   offset 12  characters       capacity + 1 bytes, zero at index length
// The object's pointer points at the first character; the counters lie in
// front of it. A string that never had a block holds no pointer at all, so an
// empty string may have no block or a block of length 0.
//
// A single CString object is not safe for concurrent use; strings sharing a
// block may be copied and destroyed on different threads.
#pragma once

class CString {
 public:
  CString();
  // A text value from 1 to 0xFFFF is a string-resource id and is loaded;
  // otherwise length -1 copies the whole zero-terminated text and any other
  // length copies exactly that many bytes. A null text gives no block.
  CString(const char* text, int length = -1);
  CString(const CString& other);
  virtual ~CString();

  // Shares the source's block; an empty source makes this string empty.
  CString& operator=(const CString& other);
  // Values above 0xFFFF are texts, smaller ones string-resource ids.
  CString& operator=(const char* text);
  CString& operator+=(const CString& other) {
    Append(other);
    return *this;
  }
  CString& operator+=(const char* text) {
    Append(text);
    return *this;
  }

  // The characters; "" when there is no block, never null.
  const char* GetString() const { return m_data ? m_data : ""; }
  operator const char*() const { return GetString(); }
  // Writable characters after PrepareBuffer; null when there is no block.
  char* GetBuffer() { return m_data; }

  int GetLength() const;
  int GetCapacity() const;
  bool IsEmpty() const { return GetLength() == 0; }
  bool HasBuffer() const { return m_data != nullptr; }
  // How many strings share this block (0 without one); for diagnostics.
  long GetShareCount() const;

  void Empty();
  // Sets the length when there is a block, n differs from the length and n
  // fits into the capacity; returns whether the length is n afterwards.
  bool SetLength(int n);
  // Empties the string and makes room for n characters (keeping the old
  // bytes when keep is set), then sets the length to n; for the platform to
  // write into GetBuffer(). Returns the buffer.
  char* PrepareBuffer(int n, bool keep = false);

  void Append(const char* text);
  void Append(const char* text, int length);
  void Append(const CString& other);

  CString Left(int count) const;
  // count -1 means up to the end.
  CString Mid(int start, int count = -1) const;
  // Index of the last occurrence, or -1.
  int ReverseFind(char character) const;
  // True when both exist and match byte for byte; a string without block
  // equals nothing.
  bool Equals(const char* text) const;
  // The character at index, or 0 when the index lies outside the string.
  char CharAt(int index) const;

  void Trim();
  void MakeLower();

  // Copies the field that starts at start into out, up to the separator or
  // the end, and returns where the next field starts (length + 1 after the
  // last field); 0 when the string is empty or start lies at or past its end.
  int ExtractField(char separator, int start, CString& out) const;

  // The platform formatter (wvsprintfA) writes at most 1024 characters; the
  // string takes what it wrote, so longer output is cut at that limit.
  void Format(const char* format, ...);
  // The system's message text for code, or "Error <code> occured.".
  void FormatSystemError(unsigned long code);
  // Loads string resource id from the application's resource instance;
  // returns whether a text was loaded. Texts of any length are loaded whole.
  bool LoadResourceString(unsigned id);

  // Capacity of a new block for a requested length (the stepped table).
  static int CapacityFor(int length);

 private:
  struct Header {
    volatile long refCount;
    long length;
    long capacity;
  };

  Header* GetHeader() const { return reinterpret_cast<Header*>(m_data) - 1; }
  void Assign(const char* text, int length);
  void MakeRoom(int length, bool keep);
  void MakeUnique();
  void Release();
  static char* AllocateBlock(int capacity);

  char* m_data;
};
