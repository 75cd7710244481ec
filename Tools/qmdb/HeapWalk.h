// The walk over a database file's heap that check and salvage share: every
// block header in file order, and every stretch of bytes where no valid
// header could be found. The engine is used read-only; the walk trusts no
// length read from the file: a block is followed by its length only when no
// other block header begins inside it (and, for a live block of a known
// kind, when it is that kind's length). Otherwise the length is damage and
// the walk resynchronises inside it, up to the end it was given (not the
// header's end_of_file, which may have lost track of the tail).
#ifndef QUILLMATE_TOOLS_QMDB_HEAPWALK_H
#define QUILLMATE_TOOLS_QMDB_HEAPWALK_H

#include <cstdint>
#include <functional>
#include <string>

#include "Database/gxDatabase.h"

// The file header as it lies on disk (opening adjusts end_of_file in memory)
// and the file's real length; false when the file cannot be read.
bool ReadRawFileHeader(const std::string& path, gxFileHeader& header, std::uint64_t& fileLength);

enum class HeapDamage {
  None,
  NoHeader,          // no check word, or a length that does not fit
  HeaderInside,      // another block header begins inside the length
  WrongLiveLength,   // a live block that is not the kind's length
};

struct HeapStep {
  // A valid block header at address: its length fits between address and the end.
  bool damaged = false;
  HeapDamage damage = HeapDamage::None;
  std::uint32_t address = 0;
  gxBlockHeader header{};  // as read, also when damaged (zero when unreadable)
  // damaged: the bytes [address, resume) hold no valid block; the walk goes
  // on at resume (the end when nothing valid follows).
  std::uint32_t resume = 0;
};

// Walks [heapStart, end) of an open database, calling visit for each step.
// liveBlockLength: the block length of the file's kind, 0 when not known.
void WalkHeap(gxDatabase& db, std::uint32_t heapStart, std::uint32_t end, std::uint32_t liveBlockLength,
              const std::function<void(const HeapStep&)>& visit);

#endif  // QUILLMATE_TOOLS_QMDB_HEAPWALK_H
