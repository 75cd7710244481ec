// The walk and resynchronisation: a read-ahead window over the heap for
// heap walkers, and NextBlock's search for the next check word, which lets a
// damaged block header hide one block only (invariants 2 and 8 in gxDatabase.h).
#include "Database/gxDatabase.h"

#include <algorithm>
#include <cstring>

#include "Database/gxDatabase_Internal.h"

// ---------------------------------------------------------------------------
// The walk's window

void gxDatabase::BeginWalk(std::uint32_t end) {
  m_walking = true;
  m_walkEnd = end;
  m_window.size = 0;
}

void gxDatabase::EndWalk() {
  m_walking = false;
  m_window.size = 0;
}

// The bytes [address, address + length) from the walk's window, reading it
// anew from address when they are not there; null when not walking, or when
// the file (up to the walk's end) does not hold them all.
const unsigned char* gxDatabase::InWindow(std::uint32_t address, std::uint32_t length) {
  if (!m_walking || !m_ready) return nullptr;
  const std::uint64_t end = static_cast<std::uint64_t>(address) + length;
  if (m_window.size != 0 && address >= m_window.start && end <= m_window.start + std::uint64_t{m_window.size})
    return m_window.bytes.data() + (address - m_window.start);
  if (length > kWindowBytes || end > m_walkEnd) return nullptr;
  if (m_window.bytes.size() < kWindowBytes) m_window.bytes.resize(kWindowBytes);
  const std::uint32_t want = std::min(kWindowBytes, m_walkEnd - address);
  std::size_t got = 0;
  m_window.start = address;
  ReadUpTo(m_window.bytes.data(), want, address, got);
  m_window.size = static_cast<std::uint32_t>(got);
  if (m_window.size < length) return nullptr;
  return m_window.bytes.data();
}

// ---------------------------------------------------------------------------
// Heap walking

std::uint32_t gxDatabase::NextBlock(std::uint32_t address) {
  if (!m_ready) {
    SetError(gxNotReady);
    return 0;
  }
  if (!RefreshHeader()) return 0;
  if (m_header.end_of_file == m_header.heap_start) return 0;
  std::uint64_t start = address == 0 ? m_header.heap_start : address;
  if (start >= m_header.end_of_file) return 0;
  // Every candidate position p with p + BlockHeaderSize() < end_of_file is
  // tried in turn, as if its 16 bytes were read there; the bytes come in
  // large pieces and the check word is searched for in memory. 64-bit
  // arithmetic: a damaged end_of_file near 4 GB must not wrap the bound.
  const std::uint64_t end = m_header.end_of_file;
  if (start + BlockHeaderSize() >= end) return 0;
  const std::uint64_t last = end - BlockHeaderSize() - 1;
  std::uint32_t found = 0;
  if (!FindCheckWord(start, last, found)) return 0;
  SetError(gxNoError);
  if (found != 0) SeekTo(found);
  return found;
}

// The first position p in [start, last] where the check word lies, in found
// (0 when there is none); false when the bytes up to last + 16 cannot be
// read (error set).
bool gxDatabase::FindCheckWord(std::uint64_t start, std::uint64_t last, std::uint32_t& found) {
  found = 0;
  while (start <= last) {
    const std::uint32_t want =
        static_cast<std::uint32_t>(std::min<std::uint64_t>(kWindowBytes, last + gxBlockHeaderBytes - start));
    const std::uint32_t at = static_cast<std::uint32_t>(start);
    const unsigned char* bytes = InWindow(at, want);
    std::size_t got = want;
    if (bytes == nullptr) {
      if (m_scratch.size() < want) m_scratch.resize(want);
      if (!ReadUpTo(m_scratch.data(), want, at, got)) return false;
      bytes = m_scratch.data();
    }
    if (got >= gxBlockHeaderBytes) {
      const unsigned char* candidate = bytes;
      const unsigned char* const lastCandidate = bytes + (got - gxBlockHeaderBytes);
      while (candidate <= lastCandidate) {
        candidate = static_cast<const unsigned char*>(
            std::memchr(candidate, 0xFE, static_cast<std::size_t>(lastCandidate - candidate) + 1));
        if (candidate == nullptr) break;
        if (GetWord(candidate) == gxCheckWord) {
          found = at + static_cast<std::uint32_t>(candidate - bytes);
          return true;
        }
        ++candidate;
      }
    }
    if (got < want) {
      // The next candidate's 16 bytes cannot be read.
      SetError(gxReadError);
      return false;
    }
    start += got - (gxBlockHeaderBytes - 1);
  }
  return true;
}

// ---------------------------------------------------------------------------
// Bytes past end_of_file

// How far Open takes a longer file into the heap: up to the first block in
// [end_of_file, fileLength) that was never taken into it by a writer, or to
// the end. A writer appends its block before the header that moves
// end_of_file, so a block running past the end of the file is a torn
// append, and a block marked in use above highest_block one whose header
// was never written; taking either in would let the next append land inside
// it and a walk step from it into the middle of the next record. Whole
// blocks below them (and bytes that hold no block) are taken in as before.
std::uint32_t gxDatabase::TailEnd(std::uint32_t fileLength) {
  std::uint64_t at = m_header.end_of_file;
  while (at + gxBlockHeaderBytes <= fileLength) {
    std::uint32_t found = 0;
    if (!FindCheckWord(at, fileLength - gxBlockHeaderBytes, found)) return m_header.end_of_file;
    if (found == 0) break;
    gxBlockHeader header;
    if (!ReadBlockHeader(found, header)) return m_header.end_of_file;
    if (header.block_length < MinimumBlockLength()) {
      at = found + 1;
      continue;
    }
    const bool torn = std::uint64_t{found} + header.block_length > fileLength;
    const bool uncommitted = (header.block_status & 0xFFu) == gxStatusUsed && found > m_header.highest_block;
    if (torn || uncommitted) return found;
    at = std::uint64_t{found} + header.block_length;
  }
  return fileLength;
}
