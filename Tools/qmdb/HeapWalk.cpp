#include "HeapWalk.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <vector>

namespace {

std::uint32_t WordAt(const unsigned char* bytes) {
  return static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8) |
         (static_cast<std::uint32_t>(bytes[2]) << 16) | (static_cast<std::uint32_t>(bytes[3]) << 24);
}

// The file's bytes up to the walk's end in large pieces, for the search of
// block headers (the engine's own search stops at end_of_file).
class HeaderSearch {
 public:
  HeaderSearch(gxDatabase& db, std::uint32_t end, std::uint32_t shortestBlock)
      : m_db(db), m_end(end), m_shortestBlock(shortestBlock) {}

  // The first address in [from, to) where a plausible block header begins:
  // the check word, a known status and a length that fits before the end.
  // 0 when there is none (or the bytes cannot be read).
  std::uint32_t Find(std::uint64_t from, std::uint64_t to) {
    to = std::min<std::uint64_t>(to, m_end);
    while (from < to && from + gxBlockHeaderBytes <= m_end) {
      if (!Holds(from) && !Load(static_cast<std::uint32_t>(from))) return 0;
      const unsigned char* piece = m_bytes.data() + (from - m_start);
      const std::uint64_t held = m_start + std::uint64_t{m_size} - from;
      const std::uint64_t candidates = std::min<std::uint64_t>(held - gxBlockHeaderBytes + 1, to - from);
      for (std::uint64_t i = 0; i < candidates; ++i) {
        const void* hit = std::memchr(piece + i, 0xFE, static_cast<std::size_t>(candidates - i));
        if (hit == nullptr) break;
        i = static_cast<std::uint64_t>(static_cast<const unsigned char*>(hit) - piece);
        if (Plausible(piece + i, from + i)) return static_cast<std::uint32_t>(from + i);
      }
      from += candidates;
    }
    return 0;
  }

 private:
  static constexpr std::uint32_t kPiece = 1024 * 1024;

  bool Plausible(const unsigned char* bytes, std::uint64_t address) const {
    const std::uint32_t status = WordAt(bytes + 8) & 0xFFu;
    const std::uint32_t length = WordAt(bytes + 4);
    return WordAt(bytes) == gxCheckWord && length >= m_shortestBlock && length <= m_end - address &&
           (status == gxStatusUsed || status == gxStatusDeleted || status == gxStatusRemoved);
  }

  // True when a whole block header at address is in hand.
  bool Holds(std::uint64_t address) const {
    return m_size != 0 && address >= m_start && address + gxBlockHeaderBytes <= m_start + std::uint64_t{m_size};
  }

  bool Load(std::uint32_t from) {
    const std::uint32_t length = static_cast<std::uint32_t>(std::min<std::uint64_t>(kPiece, m_end - from));
    m_bytes.resize(length);
    m_start = from;
    m_size = 0;
    if (m_db.ReadAt(m_bytes.data(), length, from) != gxNoError) return false;
    m_size = length;
    return true;
  }

  gxDatabase& m_db;
  std::uint32_t m_end;
  std::uint32_t m_shortestBlock;
  std::vector<unsigned char> m_bytes;
  std::uint32_t m_start = 0;
  std::uint32_t m_size = 0;
};

}  // namespace

bool ReadRawFileHeader(const std::string& path, gxFileHeader& header, std::uint64_t& fileLength) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  unsigned char bytes[gxFileHeaderBytes];
  if (!in.read(reinterpret_cast<char*>(bytes), sizeof bytes)) return false;
  gxDecodeFileHeader(bytes, header);
  in.seekg(0, std::ios::end);
  fileLength = static_cast<std::uint64_t>(in.tellg());
  return true;
}

void WalkHeap(gxDatabase& db, std::uint32_t heapStart, std::uint32_t end, std::uint32_t liveBlockLength,
              const std::function<void(const HeapStep&)>& visit) {
  const std::uint32_t shortestBlock = db.BlockHeaderSize() + (db.HasChecksums() ? 4u : 0u);
  HeaderSearch search(db, end, shortestBlock);
  std::uint32_t address = heapStart;
  // Headers come from the engine's read-ahead window.
  db.BeginWalk(end);
  while (address < end) {
    HeapStep step;
    step.address = address;
    const bool readable = end - address >= gxBlockHeaderBytes && db.ReadBlockHeader(address, step.header);
    if (!readable) step.header = gxBlockHeader{};
    const std::uint32_t length = step.header.block_length;
    if (!readable || step.header.check_word != gxCheckWord || length < shortestBlock || length > end - address) {
      step.damage = HeapDamage::NoHeader;
    } else if (liveBlockLength != 0 && (step.header.block_status & 0xFFu) == gxStatusUsed &&
               length != liveBlockLength) {
      step.damage = HeapDamage::WrongLiveLength;
    } else if (search.Find(std::uint64_t{address} + 1, std::uint64_t{address} + length) != 0) {
      // A damaged length that still fits would jump over whole blocks.
      step.damage = HeapDamage::HeaderInside;
    }
    if (step.damage != HeapDamage::None) {
      const std::uint32_t next = search.Find(std::uint64_t{address} + 1, end);
      step.damaged = true;
      step.resume = next != 0 ? next : end;
      visit(step);
      if (next == 0) break;
      address = next;
      continue;
    }
    visit(step);
    address += length;
  }
  db.EndWalk();
}
