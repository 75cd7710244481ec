// Record I/O with verification: positioned reads and writes, each write read
// back and compared, block headers, checksums, and reading an object with its
// CRC in one read. Lengths and addresses read from the file are checked
// before they are used (invariants 3, 7, 8 and 9 in gxDatabase.h).
#include "Database/gxDatabase.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "Database/gxDatabase_Internal.h"

// ---------------------------------------------------------------------------
// Block headers

int gxDatabase::WriteBlockHeader(std::uint32_t blockAddress, const gxBlockHeader& header) {
  unsigned char bytes[gxBlockHeaderBytes];
  gxEncodeBlockHeader(header, bytes);
  const int code = WriteAt(bytes, gxBlockHeaderBytes, blockAddress, true, true);
  if (code == gxNoError) {
    // Written and read back: StoreChecksum may take it from here.
    m_headerKnown = true;
    m_knownHeaderAddress = blockAddress;
    m_knownHeader = header;
  }
  return code;
}

bool gxDatabase::ReadBlockHeader(std::uint32_t blockAddress, gxBlockHeader& header) {
  unsigned char bytes[gxBlockHeaderBytes];
  if (const unsigned char* inWindow = InWindow(blockAddress, gxBlockHeaderBytes)) {
    std::memcpy(bytes, inWindow, gxBlockHeaderBytes);
    SetError(gxNoError);
  } else if (ReadAt(bytes, gxBlockHeaderBytes, blockAddress) != gxNoError) {
    return false;
  }
  gxDecodeBlockHeader(bytes, header);
  return true;
}

// ---------------------------------------------------------------------------
// Byte access

bool gxDatabase::PositionOf(std::uint64_t& position) {
  position = m_file.Position();
  if (position > 0xFFFFFFFFu) {
    SetError(gxPositionError);
    return false;
  }
  return true;
}

std::uint32_t gxDatabase::SeekTo(std::uint32_t address) {
  if (!m_ready) {
    SetError(gxNotReady);
    return gxCurrentAddress;
  }
  std::uint64_t current = 0;
  if (!PositionOf(current)) return gxCurrentAddress;
  if (address == gxCurrentAddress) return static_cast<std::uint32_t>(current);
  if (!m_file.Seek(address)) {
    SetError(gxSeekError);
    return gxCurrentAddress;
  }
  return address;
}

std::uint32_t gxDatabase::Position() {
  if (!m_ready) {
    SetError(gxNotReady);
    return gxCurrentAddress;
  }
  std::uint64_t position = 0;
  if (!PositionOf(position)) return gxCurrentAddress;
  return static_cast<std::uint32_t>(position);
}

int gxDatabase::ReadAt(void* buffer, std::uint32_t length, std::uint32_t address) {
  if (!m_ready) return SetError(gxNotReady);
  if (address != gxCurrentAddress && SeekTo(address) == gxCurrentAddress) return m_lastError;
  const std::size_t got = length == 0 ? 0 : m_file.Read(buffer, length);
  if (got != length) return SetError(gxReadError);
  return SetError(gxNoError);
}

// Up to length bytes at address into got, fewer at the end of the file or
// on a failure; false (error 24 or 19) when the position cannot be set.
bool gxDatabase::ReadUpTo(void* buffer, std::uint32_t length, std::uint32_t address, std::size_t& got) {
  got = 0;
  if (SeekTo(address) == gxCurrentAddress) return false;
  got = m_file.Read(buffer, length);
  return true;
}

int gxDatabase::WriteAt(const void* buffer, std::uint32_t length, std::uint32_t address, bool flush,
                        bool verify) {
  std::size_t put = 0;
  return WriteThrough(buffer, length, address, flush, verify, put);
}

// WriteAt, telling in put how many bytes the write itself transferred (all
// of them even when the flush or the verification failed afterwards).
int gxDatabase::WriteThrough(const void* buffer, std::uint32_t length, std::uint32_t address, bool flush,
                             bool verify, std::size_t& put) {
  put = 0;
  if (!m_ready) return SetError(gxNotReady);
  if (!m_readWrite) return SetError(gxNotWritable);
  gxOperationWriteAction action(*this, false);
  if (action.Failed()) return m_lastError;
  if (address != gxCurrentAddress && SeekTo(address) == gxCurrentAddress) return m_lastError;
  std::uint64_t writtenAt = 0;
  if (!PositionOf(writtenAt)) return m_lastError;
  // Whatever this write touches is no longer in hand, even if it fails.
  m_window.size = 0;
  m_writtenKnown = false;
  ForgetOverlapping(writtenAt, length);
  put = length == 0 ? 0 : m_file.Write(buffer, length);
  if (put != length) return SetError(gxWriteError);
  if (flush && !m_file.Flush()) return SetError(gxWriteError);
  if (verify) {
    // One read of exactly what was written (in pieces only beyond 64 KB),
    // compared byte for byte.
    const unsigned char* expected = static_cast<const unsigned char*>(buffer);
    if (m_readBack.size() < std::min(length, kChecksumChunk)) m_readBack.resize(std::min(length, kChecksumChunk));
    std::uint32_t done = 0;
    do {
      const std::uint32_t piece = std::min(length - done, kChecksumChunk);
      if (ReadAt(m_readBack.data(), piece, done == 0 ? static_cast<std::uint32_t>(writtenAt) : gxCurrentAddress) !=
              gxNoError ||
          (piece != 0 && std::memcmp(m_readBack.data(), expected + done, piece) != 0))
        return SetError(gxChecksumError);
      done += piece;
    } while (done < length);
    if (length <= kChecksumChunk) {
      m_writtenKnown = true;
      m_writtenAddress = static_cast<std::uint32_t>(writtenAt);
      m_writtenLength = length;
    }
  }
  return SetError(gxNoError);
}

// ---------------------------------------------------------------------------
// What is in hand (invariant 8)

void gxDatabase::ForgetOverlapping(std::uint64_t address, std::uint64_t length) {
  if (m_headerKnown && address < m_knownHeaderAddress + static_cast<std::uint64_t>(gxBlockHeaderBytes) &&
      m_knownHeaderAddress < address + length)
    m_headerKnown = false;
}

void gxDatabase::ForgetInHand() {
  m_window.size = 0;
  m_writtenKnown = false;
  m_headerKnown = false;
}

// ---------------------------------------------------------------------------
// Checksums

bool gxDatabase::ChecksumRange(std::uint32_t length, std::uint32_t address, std::uint32_t& crc) {
  crc = 0;
  if (m_scratch.size() < std::min(length, kChecksumChunk)) m_scratch.resize(std::min(length, kChecksumChunk));
  std::uint32_t done = 0;
  do {
    const std::uint32_t piece = std::min(length - done, kChecksumChunk);
    if (ReadAt(m_scratch.data(), piece, done == 0 ? address : gxCurrentAddress) != gxNoError) return false;
    crc = gxCrc32(m_scratch.data(), piece, crc);
    done += piece;
  } while (done < length);
  return true;
}

std::uint32_t gxDatabase::ComputeChecksum(std::uint32_t length, std::uint32_t address, bool /*inMemory*/) {
  std::uint32_t crc = 0;
  if (!m_ready) {
    SetError(gxNotReady);
    return 0;
  }
  return ChecksumRange(length, address, crc) ? crc : 0;
}

bool gxDatabase::ReadObjectBlock(std::uint32_t objectAddress, gxBlockHeader& header,
                                 std::uint32_t& objectLength, bool mayUseWritten) {
  if (!m_ready) {
    SetError(gxNotReady);
    return false;
  }
  if (objectAddress < BlockHeaderSize()) {
    SetError(gxBadObjectAddress);
    return false;
  }
  const std::uint32_t blockAddress = objectAddress - BlockHeaderSize();
  if (mayUseWritten && m_headerKnown && m_knownHeaderAddress == blockAddress) {
    header = m_knownHeader;
    SetError(gxNoError);
  } else if (!ReadBlockHeader(blockAddress, header)) {
    return false;
  }
  // A length that does not fit the heap would underflow n or reach past the file.
  if (header.check_word != gxCheckWord || !BlockFitsHeap(blockAddress, header)) {
    SetError(gxSyncError);
    return false;
  }
  objectLength = header.block_length - BlockHeaderSize() - gxChecksumBytes;
  return true;
}

std::uint32_t gxDatabase::StoreChecksum(std::uint32_t objectAddress) {
  if (!HasChecksums()) return 0;
  gxOperationWriteAction action(*this, false);
  if (action.Failed()) return 0;
  gxBlockHeader header;
  std::uint32_t length = 0;
  if (!ReadObjectBlock(objectAddress, header, length, true)) return 0;
  std::uint32_t crc = 0;
  if (m_writtenKnown && m_writtenAddress == objectAddress && m_writtenLength == length) {
    // The object was just written and read back whole: those are its bytes.
    crc = gxCrc32(m_readBack.data(), length);
  } else if (!ChecksumRange(length, objectAddress, crc)) {
    return 0;
  }
  unsigned char bytes[gxChecksumBytes];
  PutWord(bytes, crc);
  if (WriteAt(bytes, gxChecksumBytes, objectAddress + length, true, true) != gxNoError) return 0;
  return crc;
}

// VerifyChecksum's test on a block whose bytes are in memory: block holds
// available bytes from objectAddress - BlockHeaderSize() on, at least the
// header and expectedLength object bytes. decided is false when the object is
// not expectedLength bytes long (the caller then reads from the file);
// otherwise the result is VerifyChecksum's, with its error code.
bool gxDatabase::VerifyBlockInMemory(std::uint32_t objectAddress, const unsigned char* block,
                                     std::size_t available, std::uint32_t expectedLength, std::uint32_t* stored,
                                     std::uint32_t* computed, bool& decided) {
  decided = true;
  unsigned char headerBytes[gxBlockHeaderBytes];
  std::memcpy(headerBytes, block, gxBlockHeaderBytes);
  gxBlockHeader header;
  gxDecodeBlockHeader(headerBytes, header);
  const std::uint32_t blockAddress = objectAddress - BlockHeaderSize();
  if (header.check_word != gxCheckWord || !BlockFitsHeap(blockAddress, header)) {
    SetError(gxSyncError);
    return false;
  }
  if (header.block_length - BlockHeaderSize() - gxChecksumBytes != expectedLength) {
    decided = false;
    return false;
  }
  const std::size_t crcOffset = BlockHeaderSize() + expectedLength;
  if (available < crcOffset + gxChecksumBytes) {
    // The object is there, its checksum is not: the file ends inside it.
    SetError(gxReadError);
    return false;
  }
  const std::uint32_t crc = gxCrc32(block + BlockHeaderSize(), expectedLength);
  const std::uint32_t storedCrc = GetWord(block + crcOffset);
  if (stored) *stored = storedCrc;
  if (computed) *computed = crc;
  SetError(gxNoError);
  return storedCrc == crc;
}

bool gxDatabase::VerifyChecksum(std::uint32_t objectAddress, std::uint32_t* stored, std::uint32_t* computed) {
  if (stored) *stored = 0;
  if (computed) *computed = 0;
  if (!HasChecksums()) return true;
  gxBlockHeader header;
  std::uint32_t length = 0;
  if (!ReadObjectBlock(objectAddress, header, length)) return false;
  if (length <= kWindowBytes - BlockHeaderSize() - gxChecksumBytes) {
    const std::uint32_t span = BlockHeaderSize() + length + gxChecksumBytes;
    if (const unsigned char* block = InWindow(objectAddress - BlockHeaderSize(), span)) {
      bool decided = false;
      const bool matches = VerifyBlockInMemory(objectAddress, block, span, length, stored, computed, decided);
      if (decided) return matches;
    }
  }
  std::uint32_t crc = 0;
  if (!ChecksumRange(length, objectAddress, crc)) return false;
  unsigned char bytes[gxChecksumBytes];
  if (ReadAt(bytes, gxChecksumBytes, objectAddress + length) != gxNoError) return false;
  const std::uint32_t storedCrc = GetWord(bytes);
  if (stored) *stored = storedCrc;
  if (computed) *computed = crc;
  return storedCrc == crc;
}

gxObjectCheck gxDatabase::ReadVerifiedObject(std::uint32_t objectAddress, void* buffer, std::uint32_t length) {
  const std::uint32_t headerSize = BlockHeaderSize();
  const std::uint64_t span = std::uint64_t{headerSize} + length + gxChecksumBytes;
  if (m_ready && HasChecksums() && objectAddress >= headerSize && span <= kWindowBytes &&
      objectAddress + std::uint64_t{length} + gxChecksumBytes <= 0xFFFFFFFFu) {
    const std::uint32_t blockAddress = objectAddress - headerSize;
    const unsigned char* block = InWindow(blockAddress, static_cast<std::uint32_t>(span));
    std::size_t available = static_cast<std::size_t>(span);
    if (block == nullptr) {
      // One read for header, object and checksum.
      if (m_scratch.size() < span) m_scratch.resize(static_cast<std::size_t>(span));
      if (!ReadUpTo(m_scratch.data(), static_cast<std::uint32_t>(span), blockAddress, available))
        return gxObjectCheck::ReadFailed;
      block = m_scratch.data();
    }
    if (available < headerSize + std::size_t{length}) {
      // ReadAt of the object alone would have come short as well.
      SetError(gxReadError);
      return gxObjectCheck::ReadFailed;
    }
    std::memcpy(buffer, block + headerSize, length);
    bool decided = false;
    const bool matches = VerifyBlockInMemory(objectAddress, block, available, length, nullptr, nullptr, decided);
    if (decided) return matches ? gxObjectCheck::Matches : gxObjectCheck::Differs;
    // The block's object has another length than the caller's: as VerifyChecksum.
    return VerifyChecksum(objectAddress) ? gxObjectCheck::Matches : gxObjectCheck::Differs;
  }
  if (ReadAt(buffer, length, objectAddress) != gxNoError) return gxObjectCheck::ReadFailed;
  return VerifyChecksum(objectAddress) ? gxObjectCheck::Matches : gxObjectCheck::Differs;
}

int gxDatabase::RewriteObject(std::uint32_t objectAddress, const void* object, std::uint32_t length) {
  if (!m_ready) return SetError(gxNotReady);
  if (!m_readWrite) return SetError(gxNotWritable);
  gxOperationWriteAction action(*this, false);
  if (action.Failed()) return m_lastError;
  // Never write over anything but a live block of this length: a stale or
  // damaged address must not overwrite a neighbouring block.
  const std::uint32_t headerSize = BlockHeaderSize();
  gxBlockHeader header;
  if (objectAddress < headerSize) return SetError(gxBadObjectAddress);
  if (!ReadBlockHeader(objectAddress - headerSize, header)) return m_lastError;
  if (header.check_word != gxCheckWord || (header.block_status & 0xFFu) != gxStatusUsed ||
      header.block_length != std::uint64_t{length} + MinimumBlockLength())
    return SetError(gxBadObjectAddress);
  // A block running past end_of_file is damage, unless another writer has
  // moved end_of_file since this object last read the header.
  if (!BlockFitsHeap(objectAddress - headerSize, header) &&
      (!RefreshHeader() || !BlockFitsHeap(objectAddress - headerSize, header)))
    return m_lastError == gxNoError ? SetError(gxSyncError) : m_lastError;
  // The object and its CRC are contiguous: one write.
  const std::uint32_t span = length + (HasChecksums() ? gxChecksumBytes : 0);
  if (m_compose.size() < span) m_compose.resize(span);
  if (length != 0) std::memcpy(m_compose.data(), object, length);
  if (HasChecksums()) PutWord(m_compose.data() + length, gxCrc32(m_compose.data(), length));
  return WriteAt(m_compose.data(), span, objectAddress, true, true);
}
