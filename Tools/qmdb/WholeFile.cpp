#include "WholeFile.h"

#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// Flushes the stream to the disk and cuts the file to length bytes.
bool SyncAndCut(std::FILE* file, std::size_t length) {
  if (std::fflush(file) != 0) return false;
#ifdef _WIN32
  return _commit(_fileno(file)) == 0 && _chsize(_fileno(file), static_cast<long>(length)) == 0 &&
         _commit(_fileno(file)) == 0;
#else
  return fsync(fileno(file)) == 0 && ftruncate(fileno(file), static_cast<off_t>(length)) == 0 &&
         fsync(fileno(file)) == 0;
#endif
}

}  // namespace

bool ReadWholeFile(const std::string& path, std::string& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream content;
  content << in.rdbuf();
  bytes = content.str();
  return !in.bad();
}

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  return static_cast<bool>(out);
}

bool RestoreFileInPlace(const std::string& path, const std::string& bytes) {
  std::string now;
  if (ReadWholeFile(path, now) && now == bytes) return true;
  {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "r+b"));
    if (!file) return false;
    if (std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) return false;
    if (!SyncAndCut(file.get(), bytes.size())) return false;
    if (std::fclose(file.release()) != 0) return false;
  }
  return ReadWholeFile(path, now) && now == bytes;
}
