// Reading an attachment body whole for the search, in as few system calls
// as a file allows (open, its size, one read, close) and into a buffer kept
// from one body to the next, so that thousands of small bodies cost little
// more than their bytes.
#ifndef QUILLMATE_SEARCH_BODYFILE_H
#define QUILLMATE_SEARCH_BODYFILE_H

#include <cstddef>
#include <memory>
#include <string>

// Grows, never shrinks, and does not clear what it holds when it grows.
class BodyBuffer {
 public:
  char* Reserve(std::size_t size);
  const char* Data() const { return m_data.get(); }
  std::size_t Size() const { return m_size; }
  void SetSize(std::size_t size) { m_size = size; }

 private:
  std::unique_ptr<char[]> m_data;
  std::size_t m_capacity = 0;
  std::size_t m_size = 0;
};

enum class BodyRead {
  Read,     // the whole file is in the buffer
  Missing,  // it does not open (gone, or no file)
  Damaged,  // a read that fails, or a file larger than the limit
};

// A file that shrinks while it is read gives what was there.
BodyRead ReadBodyFile(const std::string& path, std::size_t limit, BodyBuffer& buffer);

#endif  // QUILLMATE_SEARCH_BODYFILE_H
