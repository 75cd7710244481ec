// POSIX: the folder opened once; per body openat, fstat, read until the
// size is in or the file ends, close.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "Search/BodyFile.h"

BodyFolder::BodyFolder(const std::string& folder) : m_folder(folder) {
  m_handle = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

BodyFolder::~BodyFolder() {
  if (m_handle >= 0) close(m_handle);
}

BodyRead BodyFolder::Read(const char* name, std::size_t limit, BodyBuffer& buffer) const {
  if (m_handle < 0) return BodyRead::Missing;  // no folder, no bodies
  const int file = openat(m_handle, name, O_RDONLY | O_CLOEXEC);
  if (file < 0) return BodyRead::Missing;
  struct stat status = {};
  BodyRead result = BodyRead::Damaged;
  if (fstat(file, &status) == 0 && S_ISREG(status.st_mode) && status.st_size >= 0 &&
      static_cast<unsigned long long>(status.st_size) <= limit) {
    const std::size_t length = static_cast<std::size_t>(status.st_size);
    char* data = buffer.Reserve(length);
    std::size_t got = 0;
    result = BodyRead::Read;
    while (got < length) {
      const ssize_t step = read(file, data + got, length - got);
      if (step < 0 && errno == EINTR) continue;
      if (step < 0) result = BodyRead::Damaged;
      if (step <= 0) break;
      got += static_cast<std::size_t>(step);
    }
    buffer.SetSize(got);
  }
  close(file);
  return result;
}
