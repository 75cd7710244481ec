// Helpers the engine's source files share: the little-endian words of the
// format and the sizes of the pieces in which bytes are read. Private to
// Source/Database; callers use gxDatabase.h.
#ifndef QUILLMATE_DATABASE_GXDATABASE_INTERNAL_H
#define QUILLMATE_DATABASE_GXDATABASE_INTERNAL_H

#include <cstdint>

#include "Database/gxDatabase.h"

// Checksums are computed and writes verified in pieces no larger than this,
// so a damaged length can never make the engine allocate more.
constexpr std::uint32_t kChecksumChunk = 64 * 1024;
// A walk reads ahead this much at a time: about 160 text notes per system call.
constexpr std::uint32_t kWindowBytes = 128 * 1024;

inline void PutWord(unsigned char* bytes, std::uint32_t value) {
  bytes[0] = static_cast<unsigned char>(value & 0xFFu);
  bytes[1] = static_cast<unsigned char>((value >> 8) & 0xFFu);
  bytes[2] = static_cast<unsigned char>((value >> 16) & 0xFFu);
  bytes[3] = static_cast<unsigned char>((value >> 24) & 0xFFu);
}

inline std::uint32_t GetWord(const unsigned char* bytes) {
  return static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8) |
         (static_cast<std::uint32_t>(bytes[2]) << 16) | (static_cast<std::uint32_t>(bytes[3]) << 24);
}

// The writing action of one engine operation (invariant 10), taken only when
// the database can be written at all: otherwise the operation goes on
// without it and fails on its own terms, with the codes it always gave.
class gxOperationWriteAction {
 public:
  gxOperationWriteAction(gxDatabase& database, bool rereadHeader)
      : m_database(database),
        m_code(database.IsReady() && database.IsReadWrite() ? database.BeginWriteAction(rereadHeader)
                                                            : kNotTaken) {}
  ~gxOperationWriteAction() {
    if (m_code == gxNoError) m_database.EndWriteAction();
  }
  gxOperationWriteAction(const gxOperationWriteAction&) = delete;
  gxOperationWriteAction& operator=(const gxOperationWriteAction&) = delete;
  // False when the lock was wanted and could not be had (the error is set).
  bool Failed() const { return m_code != gxNoError && m_code != kNotTaken; }

 private:
  static constexpr int kNotTaken = -1;
  gxDatabase& m_database;
  const int m_code;
};

#endif  // QUILLMATE_DATABASE_GXDATABASE_INTERNAL_H
