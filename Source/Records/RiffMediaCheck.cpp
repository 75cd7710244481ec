// The RIFF walk behind the WAVE and AVI checks: each list is walked as a
// range of the file, every chunk compared with the range before its content
// is read, and only the few chunks a player depends on are read at all.
#include "Records/RiffMediaCheck.h"

#include <cstring>
#include <fstream>

namespace {

std::uint32_t U16(const std::uint8_t* p) { return static_cast<std::uint32_t>(p[0] | p[1] << 8); }
std::uint32_t U32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
bool IdIs(const std::uint8_t* p, const char* id) { return std::memcmp(p, id, 4) == 0; }

struct Chunk {
  std::uint8_t id[4];
  std::uint64_t data;  // offset of its content
  std::uint32_t size;
};

class Walk {
 public:
  Walk(const RiffSource& source, RiffMedia kind) : m_source(source), m_kind(kind) {}

  const char* File();

 private:
  // Calls visit for each chunk of [begin, end); visit returns a problem or
  // null. A chunk reaching past end is a problem of its own.
  template <class Visit>
  const char* EachChunk(std::uint64_t begin, std::uint64_t end, Visit visit) {
    std::uint64_t at = begin;
    while (end - at >= 8) {
      if (++m_chunks > kMaxRiffChunks) return "too many chunks";
      std::uint8_t header[8];
      if (!m_source.Read(at, header, 8)) return "a chunk past the end of the file";
      Chunk chunk;
      std::memcpy(chunk.id, header, 4);
      chunk.size = U32(header + 4);
      chunk.data = at + 8;
      if (chunk.size > end - chunk.data) return "a chunk past the end of the file";
      if (const char* problem = visit(chunk)) return problem;
      at = chunk.data + chunk.size + (chunk.size & 1);
      if (at > end) at = end;  // the pad byte of the last chunk may be missing
    }
    return nullptr;
  }

  const char* Wave(std::uint64_t begin, std::uint64_t end);
  const char* Avi(std::uint64_t begin, std::uint64_t end);
  const char* Stream(const Chunk& list);
  const char* SoundFormat(const Chunk& chunk, std::uint32_t minChannels, std::uint32_t maxChannels);
  const char* VideoFormat(const Chunk& chunk);
  // Reads the first count bytes of a chunk that must hold at least that many.
  bool Head(const Chunk& chunk, std::uint8_t* buffer, std::size_t count) {
    return chunk.size >= count && m_source.Read(chunk.data, buffer, count);
  }

  const RiffSource& m_source;
  RiffMedia m_kind;
  std::uint32_t m_chunks = 0;
};

const char* Walk::File() {
  std::uint8_t header[12];
  if (!m_source.Read(0, header, 12) || !IdIs(header, "RIFF")) return "it is not a RIFF file";
  const std::uint64_t end = 8 + static_cast<std::uint64_t>(U32(header + 4));
  if (end > m_source.Size() || end < 12) return "its RIFF size runs past the end of the file";
  if (m_kind == RiffMedia::RecorderWave) {
    return IdIs(header + 8, "WAVE") ? Wave(12, end) : "it is not a WAVE file";
  }
  return IdIs(header + 8, "AVI ") ? Avi(12, end) : "it is not an AVI file";
}

const char* Walk::Wave(std::uint64_t begin, std::uint64_t end) {
  bool format = false, data = false;
  const char* problem = EachChunk(begin, end, [&](const Chunk& chunk) -> const char* {
    if (IdIs(chunk.id, "fmt ") && !format) {
      format = true;
      return SoundFormat(chunk, 1, 2);
    }
    if (IdIs(chunk.id, "data") && !data) {
      data = true;
      if (!format) return "its sound data comes before its format";
    }
    return nullptr;
  });
  if (problem) return problem;
  if (!format) return "it has no sound format";
  return data ? nullptr : "it has no sound data";
}

const char* Walk::SoundFormat(const Chunk& chunk, std::uint32_t minChannels, std::uint32_t maxChannels) {
  std::uint8_t f[16];
  if (!Head(chunk, f, sizeof f)) return "its sound format is cut short";
  const std::uint32_t tag = U16(f), channels = U16(f + 2), rate = U32(f + 4), byteRate = U32(f + 8),
                      align = U16(f + 12), bits = U16(f + 14);
  if (channels < minChannels || channels > maxChannels) {
    return channels == 0 ? "its sound format states 0 channels" : "its sound format states more channels than it can play";
  }
  if (rate == 0 || byteRate == 0 || align == 0) return "its sound format states a rate or block size of 0";
  if (tag == 1 || tag == 0xFFFE) {  // PCM, plain or extensible
    if (bits != 8 && bits != 16 && bits != 24 && bits != 32) return "its sound format states an unplayable sample size";
    if (align != channels * bits / 8 || byteRate != static_cast<std::uint64_t>(rate) * align) {
      return "its sound format states rates that do not agree";
    }
  }
  return nullptr;
}

const char* Walk::VideoFormat(const Chunk& chunk) {
  std::uint8_t f[16];
  if (!Head(chunk, f, sizeof f)) return "its video format is cut short";
  const std::int32_t width = static_cast<std::int32_t>(U32(f + 4)), height = static_cast<std::int32_t>(U32(f + 8));
  const std::uint32_t bits = U16(f + 14);
  const std::uint64_t rows = height < 0 ? static_cast<std::uint64_t>(-static_cast<std::int64_t>(height)) : height;
  if (U32(f) < 40 || width <= 0 || rows == 0 || bits == 0 || bits > 32 ||
      static_cast<std::uint64_t>(width) * rows > kMaxVideoFramePixels) {
    return "its video format states an impossible frame";
  }
  return nullptr;
}

const char* Walk::Stream(const Chunk& list) {
  bool header = false, format = false;
  bool sound = false;
  const char* problem = EachChunk(list.data + 4, list.data + list.size, [&](const Chunk& chunk) -> const char* {
    if (IdIs(chunk.id, "strh") && !header) {
      std::uint8_t h[48];
      if (!Head(chunk, h, sizeof h)) return "a stream header is cut short";
      header = true;
      sound = IdIs(h, "auds");
      if (U32(h + 20) == 0 || U32(h + 24) == 0) return "a stream states a rate of 0";
      return nullptr;
    }
    if (IdIs(chunk.id, "strf") && header && !format) {
      format = true;
      return sound ? SoundFormat(chunk, 1, 0xFFFF) : VideoFormat(chunk);
    }
    return nullptr;
  });
  if (problem) return problem;
  return header && format ? nullptr : "a stream has no header or format";
}

const char* Walk::Avi(std::uint64_t begin, std::uint64_t end) {
  bool mainHeader = false, movie = false;
  std::uint32_t streams = 0, declared = 0;
  const char* problem = EachChunk(begin, end, [&](const Chunk& chunk) -> const char* {
    if (!IdIs(chunk.id, "LIST")) return nullptr;
    std::uint8_t type[4];
    if (!Head(chunk, type, 4)) return "a list is cut short";
    if (IdIs(type, "movi")) movie = true;
    if (!IdIs(type, "hdrl")) return nullptr;
    return EachChunk(chunk.data + 4, chunk.data + chunk.size, [&](const Chunk& inner) -> const char* {
      if (IdIs(inner.id, "avih")) {
        std::uint8_t h[56];
        if (!Head(inner, h, sizeof h)) return "the main header is cut short";
        mainHeader = true;
        declared = U32(h + 24);
        return nullptr;
      }
      std::uint8_t listType[4];
      if (!IdIs(inner.id, "LIST") || !Head(inner, listType, 4) || !IdIs(listType, "strl")) return nullptr;
      ++streams;
      return Stream(inner);
    });
  });
  if (problem) return problem;
  if (!mainHeader || streams == 0 || declared == 0 || declared > streams) return "it declares no playable stream";
  return movie ? nullptr : "it has no movie data";
}

}  // namespace

bool MemoryRiffSource::Read(std::uint64_t offset, void* buffer, std::size_t count) const {
  if (offset > m_size || count > m_size - offset) return false;
  std::memcpy(buffer, m_data + offset, count);
  return true;
}

const char* RiffMediaProblem(const RiffSource& source, RiffMedia kind) {
  Walk walk(source, kind);
  return walk.File();
}

namespace {

class FileRiffSource : public RiffSource {
 public:
  explicit FileRiffSource(const std::string& path) : m_file(path, std::ios::binary) {
    if (m_file) {
      m_file.seekg(0, std::ios::end);
      const std::streamoff size = m_file.tellg();
      m_size = size > 0 ? static_cast<std::uint64_t>(size) : 0;
    }
  }
  bool IsOpen() const { return static_cast<bool>(m_file); }
  std::uint64_t Size() const override { return m_size; }
  bool Read(std::uint64_t offset, void* buffer, std::size_t count) const override {
    if (offset > m_size || count > m_size - offset) return false;
    m_file.clear();
    m_file.seekg(static_cast<std::streamoff>(offset));
    m_file.read(static_cast<char*>(buffer), static_cast<std::streamsize>(count));
    return m_file.gcount() == static_cast<std::streamsize>(count);
  }

 private:
  mutable std::ifstream m_file;
  std::uint64_t m_size = 0;
};

}  // namespace

const char* RiffMediaFileProblem(const std::string& path, RiffMedia kind) {
  FileRiffSource source(path);
  if (!source.IsOpen()) return nullptr;
  return RiffMediaProblem(source, kind);
}
