// Block allocation and the free list: first fit with splitting, appends,
// freeing, and giving back a block whose allocation failed part-way
// (invariants 4 to 6 in gxDatabase.h).
#include "Database/gxDatabase.h"

#include <cstdint>
#include <cstring>

#include "Database/gxDatabase_Internal.h"

// ---------------------------------------------------------------------------
// Allocation

void gxDatabase::AbandonFreeList() {
  m_header.free_space = gxAbandonedList;
  WriteFileHeader();
}

// headerWritten: the file header was written (as m_header now stands) to
// unlink the block.
std::uint32_t gxDatabase::FirstFit(std::uint32_t blockLength, bool& headerWritten) {
  headerWritten = false;
  if (m_header.free_space == gxAbandonedList) return 0;
  const std::uint32_t heapBytes =
      m_header.end_of_file > m_header.heap_start ? m_header.end_of_file - m_header.heap_start : 0;
  // More steps than blocks fit in the heap can only mean a cycle.
  const std::uint32_t stepBound = heapBytes / MinimumBlockLength() + 1;
  const std::uint64_t splitThreshold =
      static_cast<std::uint64_t>(blockLength) + BlockHeaderSize() + (HasChecksums() ? gxChecksumBytes : 0);

  std::uint32_t previous = 0;
  gxBlockHeader previousHeader{};
  std::uint32_t address = m_header.free_space;
  for (std::uint32_t steps = 0;; ++steps) {
    if (address == 0) return 0;
    if (steps >= stepBound || address < m_header.heap_start || address >= m_header.end_of_file) {
      AbandonFreeList();
      return 0;
    }
    gxBlockHeader header;
    if (!ReadBlockHeader(address, header)) return 0;
    const unsigned char status = static_cast<unsigned char>(header.block_status & 0xFFu);
    if (header.check_word != gxCheckWord || (status != 'D' && status != 'R') ||
        header.next_deleted == address || !BlockFitsHeap(address, header)) {
      AbandonFreeList();
      return 0;
    }

    std::uint32_t successor = 0;  // what takes this block's place in the list
    bool take = false;
    if (header.block_length == blockLength) {
      successor = header.next_deleted;
      take = true;
    } else if (header.block_length > splitThreshold) {
      const std::uint32_t remainderAddress = address + blockLength;
      const gxBlockHeader remainder{gxCheckWord, header.block_length - blockLength, gxStatusRemoved,
                                    header.next_deleted};
      if (WriteBlockHeader(remainderAddress, remainder) != gxNoError) return 0;
      successor = remainderAddress;
      take = true;
    }
    if (take) {
      if (previous != 0) {
        previousHeader.next_deleted = successor;
        if (WriteBlockHeader(previous, previousHeader) != gxNoError) return 0;
      } else {
        m_header.free_space = successor;
        if (WriteFileHeader() != gxNoError) {
          m_header.free_space = address;  // not handed out: it stays on the list
          return 0;
        }
        headerWritten = true;
      }
      return address;
    }
    previous = address;
    previousHeader = header;
    address = header.next_deleted;
  }
}

// Checks, then finds the block: first fit, or at end_of_file (which then
// moves in memory only). highest_block follows in memory.
bool gxDatabase::PlaceBlock(std::uint32_t length, int method, Placement& place) {
  const std::uint64_t wanted = static_cast<std::uint64_t>(length) + MinimumBlockLength();
  // A header whose heap does not start after it, or an append past 4 GB, would
  // put the block over the header or beyond the address range.
  if (m_header.heap_start < FileHeaderSize() || m_header.end_of_file < m_header.heap_start ||
      wanted + m_header.end_of_file > 0xFFFFFFFFu) {
    SetError(gxBlockAllocationError);
    return false;
  }
  place = Placement();
  place.blockLength = static_cast<std::uint32_t>(wanted);
  place.oldEnd = m_header.end_of_file;
  place.oldHighest = m_header.highest_block;
  place.headerWritten = true;
  if (m_header.free_space != 0 && method == 2) place.address = FirstFit(place.blockLength, place.headerWritten);
  place.appended = place.address == 0;
  if (place.appended) {
    // An end_of_file beyond the real file is damage: appending there would
    // write far away from the data and claim bytes that were never written.
    if (place.oldEnd > m_file.KnownLength()) {
      const std::int64_t fileLength = m_file.Length();
      if (fileLength >= 0 && place.oldEnd > fileLength) {
        SetError(gxFileCorrupt);
        return false;
      }
    }
    place.address = place.oldEnd;
    m_header.end_of_file = place.oldEnd + place.blockLength;
    place.headerWritten = false;
  }
  if (place.address > m_header.highest_block) {
    m_header.highest_block = place.address;
    place.headerWritten = false;
  }
  return true;
}

std::uint32_t gxDatabase::Allocate(std::uint32_t length, int method) {
  return NewBlock(nullptr, length, method);
}

std::uint32_t gxDatabase::WriteNewObject(const void* object, std::uint32_t length) {
  return NewBlock(object, length, 2);
}

// Allocate when object is null (the block's headers only; its object bytes
// stay as they are), else WriteNewObject.
std::uint32_t gxDatabase::NewBlock(const void* object, std::uint32_t length, int method) {
  if (!m_ready) {
    SetError(gxNotReady);
    return 0;
  }
  if (!m_readWrite) {
    SetError(gxNotWritable);
    return 0;
  }
  gxOperationWriteAction action(*this, true);
  if (action.Failed()) return 0;
  Placement place;
  if (!PlaceBlock(length, method, place)) return 0;
  const std::uint32_t headerSize = BlockHeaderSize();
  const gxBlockHeader header{gxCheckWord, place.blockLength, gxStatusUsed, 0};
  int code = gxNoError;
  bool landedWhole = false;
  if (object == nullptr) {
    if (place.appended) {
      const unsigned char zero = 0;
      if (WriteAt(&zero, 1, m_header.end_of_file - 1, true, true) != gxNoError) {
        m_header.end_of_file = place.oldEnd;
        m_header.highest_block = place.oldHighest;
        return 0;
      }
    }
    // The in-use header goes last, so a failure before it never leaves a
    // block marked 'N' behind: lists would show it as an empty record with a
    // CRC warning. The bytes on disk end up the same as in the usual order.
    if (!place.headerWritten) code = WriteFileHeader();
    if (code == gxNoError) {
      // The block header and the record lock header after it, in one write.
      unsigned char bytes[gxBlockHeaderBytes + gxLockHeaderBytes] = {};
      gxEncodeBlockHeader(header, *reinterpret_cast<unsigned char(*)[gxBlockHeaderBytes]>(bytes));
      code = WriteAt(bytes, headerSize, place.address, true, true);
      if (code == gxNoError) {
        m_headerKnown = true;
        m_knownHeaderAddress = place.address;
        m_knownHeader = header;
      }
    }
  } else {
    // Block header, record lock header, object and CRC: the bytes Allocate,
    // WriteAt and StoreChecksum would leave, put together for one write.
    if (m_compose.size() < place.blockLength) m_compose.resize(place.blockLength);
    unsigned char* block = m_compose.data();
    gxEncodeBlockHeader(header, *reinterpret_cast<unsigned char(*)[gxBlockHeaderBytes]>(block));
    std::memset(block + gxBlockHeaderBytes, 0, headerSize - gxBlockHeaderBytes);
    if (length != 0) std::memcpy(block + headerSize, object, length);
    if (HasChecksums()) PutWord(block + headerSize + length, gxCrc32(block + headerSize, length));
    // An appended block is written before the header that takes it into the
    // heap: until then it lies past end_of_file, never half in it.
    std::size_t put = 0;
    code = WriteThrough(block, place.blockLength, place.address, true, true, put);
    landedWhole = put == place.blockLength;
    if (code == gxNoError && !place.headerWritten) code = WriteFileHeader();
  }
  if (code != gxNoError) {
    GiveBackFailedBlock(place, landedWhole);
    SetError(code);
    return 0;
  }
  return place.address + headerSize;
}

// landedWhole: every byte of the block reached the file (its flush, its
// verification or a later write failed), so an appended block may join the
// heap as a free block; otherwise an appended block stays past end_of_file.
void gxDatabase::GiveBackFailedBlock(const Placement& place, bool landedWhole) {
  // Best effort: the caller reports the first failure whatever happens here.
  m_header.highest_block = place.oldHighest;
  const bool link = !place.appended || landedWhole;
  const std::uint32_t head = m_header.free_space;
  const gxBlockHeader removed{gxCheckWord, place.blockLength, gxStatusRemoved, link ? head : 0};
  const bool marked = WriteBlockHeader(place.address, removed) == gxNoError;
  if (link && marked && head != gxAbandonedList) m_header.free_space = place.address;
  // The header written next must not claim an appended block that may still
  // be marked in use: past end_of_file, Open does not take it in (TailEnd).
  if (place.appended && !(link && marked)) m_header.end_of_file = place.oldEnd;
  WriteFileHeader();
}

int gxDatabase::FreeBlock(std::uint32_t objectAddress, bool removeFlag) {
  if (!m_ready) {
    SetError(gxNotReady);
    return 0;
  }
  gxOperationWriteAction action(*this, true);
  if (action.Failed()) return 0;
  if (objectAddress < m_header.heap_start + static_cast<std::uint64_t>(BlockHeaderSize()) ||
      objectAddress >= m_header.end_of_file) {
    SetError(gxBadObjectAddress);
    return 0;
  }
  const std::uint32_t blockAddress = objectAddress - BlockHeaderSize();
  gxBlockHeader header;
  if (!ReadBlockHeader(blockAddress, header)) return 0;
  if (header.check_word != gxCheckWord || !BlockFitsHeap(blockAddress, header)) {
    SetError(gxSyncError);
    return 0;
  }
  if ((header.block_status & 0xFFu) != 'N') return 0;
  const gxBlockHeader live = header;
  header.block_status = removeFlag ? gxStatusRemoved : ((header.block_status & ~0xFFu) | gxStatusDeleted);
  if (!m_readWrite) {
    SetError(gxNotWritable);
    return 0;
  }
  const std::uint32_t oldHead = m_header.free_space;
  header.next_deleted = oldHead;
  int code = WriteBlockHeader(blockAddress, header);
  if (code == gxNoError && oldHead != gxAbandonedList) {
    m_header.free_space = blockAddress;
    code = WriteFileHeader();
  }
  if (code != gxNoError) {
    // A failed write, flush or check may still have landed: put the block
    // back in use so that a reported failure leaves the record live (unless
    // the file cannot be written at all any more), then report the first error.
    m_header.free_space = oldHead;
    WriteBlockHeader(blockAddress, live);
    SetError(code);
    return 0;
  }
  return 1;
}
