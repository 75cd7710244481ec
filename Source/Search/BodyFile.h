// Reading attachment bodies whole for the search, in as few system calls as
// a file allows (open, its size, one read, close) and into a buffer kept
// from one body to the next, so that thousands of small bodies cost little
// more than their bytes. Where the platform can, the folder is opened once
// and each body opened by its name within it, without walking the path again.
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

// One kind's attachment folder. Read may be called on several threads at once.
class BodyFolder {
 public:
  // folder ends with the path separator.
  explicit BodyFolder(const std::string& folder);
  ~BodyFolder();
  BodyFolder(const BodyFolder&) = delete;
  BodyFolder& operator=(const BodyFolder&) = delete;

  // name: a file name alone (AttachmentPath has checked it). A file that
  // shrinks while it is read gives what was there.
  BodyRead Read(const char* name, std::size_t limit, BodyBuffer& buffer) const;

 private:
  std::string m_folder;
  int m_handle = -1;  // the open folder, where the platform has one
};

#endif  // QUILLMATE_SEARCH_BODYFILE_H
