// The engine's one stream layer: buffered stdio over a FILE*, with 64-bit
// positions so that the whole 32-bit address range is reachable on every host,
// and the fault-injection hooks that tests use to make calls fail.
#ifndef QUILLMATE_DATABASE_GXFILESTREAM_H
#define QUILLMATE_DATABASE_GXFILESTREAM_H

#include <cstddef>
#include <cstdint>
#include <cstdio>

class gxFileStream {
 public:
  enum Origin { FromStart, FromCurrent, FromEnd };

  gxFileStream() = default;
  ~gxFileStream();
  gxFileStream(const gxFileStream&) = delete;
  gxFileStream& operator=(const gxFileStream&) = delete;

  // mode is an fopen mode ("w+b", "r+b", "rb"). False when nothing was opened.
  bool Open(const char* fileName, const char* mode);
  // False when closing reported an error; the stream is released either way.
  bool Close();
  bool IsOpen() const { return m_file != nullptr; }

  // Both return the number of bytes transferred.
  std::size_t Read(void* buffer, std::size_t length);
  std::size_t Write(const void* buffer, std::size_t length);
  bool Flush();
  // Drops read-ahead so the next read sees what other writers put in the file
  // (fflush on a seekable input stream, as POSIX defines it). Never injected.
  void DropReadAhead();
  bool Seek(std::int64_t offset, Origin origin);
  // -1 when the position cannot be told.
  std::int64_t Tell();
  // Length of the open file from the file-status query, -1 on failure.
  std::int64_t Length();

 private:
  std::FILE* m_file = nullptr;
};

// The file-status query: true when a file of that name exists.
bool gxFileExists(const char* fileName);

#endif  // QUILLMATE_DATABASE_GXFILESTREAM_H
