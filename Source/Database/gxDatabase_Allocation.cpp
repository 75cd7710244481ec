// Block allocation and the free list: first fit with splitting, appends,
// freeing, and giving back a block whose allocation failed part-way
// (invariants 4 to 6 in gxDatabase.h).
#include "Database/gxDatabase.h"

#include <cstdint>

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

std::uint32_t gxDatabase::Allocate(std::uint32_t length, int method) {
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
  const std::uint64_t wanted = static_cast<std::uint64_t>(length) + MinimumBlockLength();
  // A header whose heap does not start after it, or an append past 4 GB, would
  // put the block over the header or beyond the address range.
  if (m_header.heap_start < FileHeaderSize() || m_header.end_of_file < m_header.heap_start ||
      wanted + m_header.end_of_file > 0xFFFFFFFFu) {
    SetError(gxBlockAllocationError);
    return 0;
  }
  const std::uint32_t blockLength = static_cast<std::uint32_t>(wanted);

  const std::uint32_t oldEnd = m_header.end_of_file;
  const std::uint32_t oldHighest = m_header.highest_block;
  std::uint32_t blockAddress = 0;
  bool headerWritten = false;
  if (m_header.free_space != 0 && method == 2) blockAddress = FirstFit(blockLength, headerWritten);
  const bool appended = blockAddress == 0;

  if (appended) {
    // An end_of_file beyond the real file is damage: appending there would
    // write far away from the data and claim bytes that were never written.
    if (oldEnd > m_file.KnownLength()) {
      const std::int64_t fileLength = m_file.Length();
      if (fileLength >= 0 && oldEnd > fileLength) {
        SetError(gxFileCorrupt);
        return 0;
      }
    }
    blockAddress = oldEnd;
    m_header.end_of_file = oldEnd + blockLength;
    headerWritten = false;
    const unsigned char zero = 0;
    if (WriteAt(&zero, 1, m_header.end_of_file - 1, true, true) != gxNoError) {
      m_header.end_of_file = oldEnd;
      return 0;
    }
  }
  if (blockAddress > m_header.highest_block) {
    m_header.highest_block = blockAddress;
    headerWritten = false;
  }

  // The in-use header goes last, so a failure before it never leaves a block
  // marked 'N' behind: lists would show it as an empty record with a CRC
  // warning. The bytes on disk end up the same as in the usual order.
  int code = gxNoError;
  if (m_revision == 'C' || m_revision == 'c') {
    const unsigned char zeros[gxLockHeaderBytes] = {};
    code = WriteAt(zeros, gxLockHeaderBytes, blockAddress + gxBlockHeaderBytes, true, true);
  }
  // Unlinking the block wrote this very header already: once is enough.
  if (code == gxNoError && !headerWritten) code = WriteFileHeader();
  if (code == gxNoError) {
    const gxBlockHeader header{gxCheckWord, blockLength, gxStatusUsed, 0};
    code = WriteBlockHeader(blockAddress, header);
  }
  if (code != gxNoError) {
    GiveBackFailedBlock(blockAddress, blockLength, appended, oldEnd, oldHighest);
    SetError(code);
    return 0;
  }
  return blockAddress + BlockHeaderSize();
}

void gxDatabase::GiveBackFailedBlock(std::uint32_t blockAddress, std::uint32_t blockLength, bool appended,
                                     std::uint32_t oldEnd, std::uint32_t oldHighest) {
  // Best effort: the caller reports the first failure whatever happens here.
  m_header.highest_block = oldHighest;
  if (appended) {
    // The header written later must not claim the new bytes; should the file
    // still be longer, Open takes them in as a removed block, never a live one.
    m_header.end_of_file = oldEnd;
    const gxBlockHeader removed{gxCheckWord, blockLength, gxStatusRemoved, 0};
    WriteBlockHeader(blockAddress, removed);
    WriteFileHeader();
    return;
  }
  // A block taken from the free list goes back to its head.
  const gxBlockHeader removed{gxCheckWord, blockLength, gxStatusRemoved, m_header.free_space};
  if (WriteBlockHeader(blockAddress, removed) == gxNoError && m_header.free_space != gxAbandonedList)
    m_header.free_space = blockAddress;
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
