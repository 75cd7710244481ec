// The engine's operations. Every one goes straight to the file: there is no
// cache, the in-memory file header is the only state kept between calls.
// Lengths and addresses read from the file are checked before they are used
// (invariants 3 and 7 in gxDatabase.h).
#include "Database/gxDatabase.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

const char* const kErrorTexts[gxErrorCodeCount] = {
    "Database exception: No exception reported",
    "Database exception: Invalid error code reported",
    "Database exception: Access Violation",
    "Database exception: Assertion failed",
    "Database exception: Wrong object type",
    "Database exception: Bad object address",
    "Database exception: Bad reference",
    "Database exception: Block allocation error",
    "Database exception: Cache full",
    "Database exception: Checksum error",
    "Database exception: Divide by zero error",
    "Database exception: Duplicate entry error",
    "Database exception: Specified entry was not found",
    "Database exception: Unexpected end of file was reached",
    "Database exception: Error closing file",
    "Database exception: File is corrupt",
    "Database exception: Error creating file",
    "Database exception: File already exists",
    "Database exception: Trying to use a closed file",
    "Database exception: File not ready for reading/writing",
    "Database exception: Could not write to file",
    "Database exception: Error opening file",
    "Database exception: Cannot obtain a file position",
    "Database exception: Error reading from file",
    "Database exception: Error seeking in file",
    "Database exception: Error writing to file",
    "Database exception: Error inserting database entry",
    "Database exception: Memory allocation error",
    "Database exception: No database open",
    "Database exception: No such file exists",
    "Database exception: No objects exist",
    "Database exception: Accessing a null pointer",
    "Database exception: Object already exists",
    "Database exception: Another object is referencing this file",
    "Database exception: Math overflow error",
    "Database exception: Parse error",
    "Database exception: Invalid path",
    "Database exception: Trying to write to a read-only file",
    "Database exception: Stack empty",
    "Database exception: Stack full",
    "Database exception: Synchronization Error",
    "Database exception: Math under-flow error",
    "Database exception: Wrong file type",
    "Database exception: Invalid lock type specified",
    "Database exception: Cannot access the file lock header",
    "Database exception: Cannot lock the file",
    "Database exception: Cannot access the record lock header",
    "Database exception: Cannot lock the specified record",
};

const char kClosedFileName[] = "closed.gxd";
const char kSignaturePrefix[7] = {'G', 'X', 'D', 'B', 'A', 'S', 'E'};
// Checksums are computed in pieces no larger than this, so a damaged length
// can never make the engine allocate more.
constexpr std::uint32_t kChecksumChunk = 64 * 1024;

void PutWord(unsigned char* bytes, std::uint32_t value) {
  bytes[0] = static_cast<unsigned char>(value & 0xFFu);
  bytes[1] = static_cast<unsigned char>((value >> 8) & 0xFFu);
  bytes[2] = static_cast<unsigned char>((value >> 16) & 0xFFu);
  bytes[3] = static_cast<unsigned char>((value >> 24) & 0xFFu);
}

std::uint32_t GetWord(const unsigned char* bytes) {
  return static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8) |
         (static_cast<std::uint32_t>(bytes[2]) << 16) | (static_cast<std::uint32_t>(bytes[3]) << 24);
}

bool IsBlank(char letter) {
  return letter == 0x00 || letter == ' ';
}

bool SameCounters(const gxFileHeader& a, const gxFileHeader& b) {
  return a.free_space == b.free_space && a.end_of_file == b.end_of_file && a.heap_start == b.heap_start &&
         a.highest_block == b.highest_block;
}

}  // namespace

void gxEncodeFileHeader(const gxFileHeader& header, unsigned char (&bytes)[gxFileHeaderBytes]) {
  PutWord(bytes + 0, header.free_space);
  PutWord(bytes + 4, header.end_of_file);
  PutWord(bytes + 8, header.heap_start);
  PutWord(bytes + 12, header.highest_block);
  std::memcpy(bytes + 16, header.signature, 8);
  PutWord(bytes + 24, header.version);
}

void gxDecodeFileHeader(const unsigned char (&bytes)[gxFileHeaderBytes], gxFileHeader& header) {
  header.free_space = GetWord(bytes + 0);
  header.end_of_file = GetWord(bytes + 4);
  header.heap_start = GetWord(bytes + 8);
  header.highest_block = GetWord(bytes + 12);
  std::memcpy(header.signature, bytes + 16, 8);
  header.version = GetWord(bytes + 24);
}

void gxEncodeBlockHeader(const gxBlockHeader& header, unsigned char (&bytes)[gxBlockHeaderBytes]) {
  PutWord(bytes + 0, header.check_word);
  PutWord(bytes + 4, header.block_length);
  PutWord(bytes + 8, header.block_status);
  PutWord(bytes + 12, header.next_deleted);
}

void gxDecodeBlockHeader(const unsigned char (&bytes)[gxBlockHeaderBytes], gxBlockHeader& header) {
  header.check_word = GetWord(bytes + 0);
  header.block_length = GetWord(bytes + 4);
  header.block_status = GetWord(bytes + 8);
  header.next_deleted = GetWord(bytes + 12);
}

gxDatabase::gxDatabase()
    : m_fileName(kClosedFileName),
      m_header(),
      m_revision('C'),
      m_ready(false),
      m_open(false),
      m_readWrite(false),
      m_lastOperation(LastOperation::Reposition),
      m_lastError(gxNoError) {}

gxDatabase::~gxDatabase() {
  Close();
}

// ---------------------------------------------------------------------------
// Sizes

std::uint32_t gxDatabase::FileHeaderSize() const {
  switch (m_revision) {
    case 'B':
    case 'b':
    case 'C':
    case 'c':
      return gxFileHeaderBytes + gxLockHeaderBytes;
    default:
      return gxFileHeaderBytes;
  }
}

std::uint32_t gxDatabase::BlockHeaderSize() const {
  return (m_revision == 'C' || m_revision == 'c') ? gxBlockHeaderBytes + gxLockHeaderBytes
                                                  : gxBlockHeaderBytes;
}

bool gxDatabase::HasChecksums() const {
  return !IsBlank(m_revision);
}

std::uint32_t gxDatabase::MinimumBlockLength() const {
  return BlockHeaderSize() + (HasChecksums() ? gxChecksumBytes : 0);
}

bool gxDatabase::BlockFitsHeap(std::uint32_t blockAddress, const gxBlockHeader& header) const {
  const std::uint64_t end = static_cast<std::uint64_t>(blockAddress) + header.block_length;
  return blockAddress >= m_header.heap_start && header.block_length >= MinimumBlockLength() &&
         end <= m_header.end_of_file;
}

// ---------------------------------------------------------------------------
// Lifecycle

void gxDatabase::ResetClosed() {
  m_fileName = kClosedFileName;
  m_ready = false;
  m_open = false;
  m_readWrite = false;
  m_lastOperation = LastOperation::Reposition;
  m_lastError = gxNoError;
}

int gxDatabase::Create(const char* fileName, std::uint32_t staticSize, char revision) {
  int code = Close();
  if (code != gxNoError) return code;

  // Normalise the letter before the sizes are derived from it.
  char letter;
  if (IsBlank(revision))
    letter = 0x00;
  else if (revision == 'A' || revision == 'a')
    letter = 'A';
  else if (revision == 'B' || revision == 'b')
    letter = 'B';
  else
    letter = 'C';
  const char previousRevision = m_revision;
  m_revision = letter;
  const std::uint64_t heapStart = static_cast<std::uint64_t>(staticSize) + FileHeaderSize();
  if (heapStart > 0xFFFFFFFFu || !m_stream.Open(fileName, "w+b")) {
    m_revision = previousRevision;
    return SetError(gxCreateError);
  }
  m_ready = m_open = m_readWrite = true;
  m_fileName = fileName;
  m_lastOperation = LastOperation::Reposition;

  m_header = gxFileHeader();
  m_header.heap_start = static_cast<std::uint32_t>(heapStart);
  m_header.end_of_file = m_header.heap_start;
  std::memcpy(m_header.signature, kSignaturePrefix, 7);
  m_header.signature[7] = letter;
  m_header.version = gxDatabaseVersion;

  code = WriteFileHeader();
  if (code != gxNoError) return code;
  if (letter == 'B' || letter == 'C') {
    const unsigned char zeros[gxLockHeaderBytes] = {};
    code = WriteAt(zeros, gxLockHeaderBytes, gxFileHeaderBytes, true, true);
    if (code != gxNoError) return code;
  }
  if (m_header.heap_start > FileHeaderSize()) {
    const unsigned char zero = 0;
    code = WriteAt(&zero, 1, m_header.heap_start - 1, true, true);
    if (code != gxNoError) return code;
  }
  return SetError(gxNoError);
}

int gxDatabase::Open(const char* fileName, int mode) {
  int code = Close();
  if (code != gxNoError) return code;
  const bool readWrite = mode != 0;
  if (!m_stream.Open(fileName, readWrite ? "r+b" : "rb")) return SetError(gxOpenError);
  m_ready = m_open = true;
  m_readWrite = readWrite;
  m_fileName = fileName;
  m_lastOperation = LastOperation::Reposition;

  unsigned char bytes[gxFileHeaderBytes];
  code = ReadAt(bytes, gxFileHeaderBytes, 0);
  if (code != gxNoError) {
    // Without a whole header nothing about the file can be trusted.
    m_header = gxFileHeader();
    m_ready = false;
    return code;
  }
  gxDecodeFileHeader(bytes, m_header);
  if (std::memcmp(m_header.signature, kSignaturePrefix, 7) != 0) {
    m_ready = false;
    return SetError(gxWrongFileType);
  }
  m_revision = m_header.signature[7];

  const std::int64_t length = m_stream.Length();
  if (length > static_cast<std::int64_t>(m_header.end_of_file) && length <= 0xFFFFFFFF) {
    m_header.end_of_file = static_cast<std::uint32_t>(length);
    code = Flush();
    if (code != gxNoError) return code;
  }
  return SetError(gxNoError);
}

int gxDatabase::Close() {
  if (m_open) {
    // A database that is not ready is never written, not even its header.
    if (m_ready && m_readWrite) {
      const int code = WriteFileHeader();
      if (code != gxNoError) {
        m_stream.Close();
        ResetClosed();
        return SetError(code);
      }
    }
    if (!m_stream.Close()) {
      ResetClosed();
      return SetError(gxCloseError);
    }
  }
  ResetClosed();
  return gxNoError;
}

int gxDatabase::Flush() {
  if (!m_ready) return SetError(gxNotReady);
  if (!m_readWrite) return SetError(gxNoError);
  const int code = WriteFileHeader();
  if (code != gxNoError) return code;
  if (!m_stream.Flush()) return SetError(gxWriteError);
  if (!m_stream.Seek(0, gxFileStream::FromCurrent)) return SetError(gxSeekError);
  m_lastOperation = LastOperation::Reposition;
  return SetError(gxNoError);
}

// ---------------------------------------------------------------------------
// Headers

int gxDatabase::WriteFileHeader() {
  unsigned char bytes[gxFileHeaderBytes];
  gxEncodeFileHeader(m_header, bytes);
  return WriteAt(bytes, gxFileHeaderBytes, 0, true, true);
}

int gxDatabase::WriteBlockHeader(std::uint32_t blockAddress, const gxBlockHeader& header) {
  unsigned char bytes[gxBlockHeaderBytes];
  gxEncodeBlockHeader(header, bytes);
  return WriteAt(bytes, gxBlockHeaderBytes, blockAddress, true, true);
}

bool gxDatabase::ReadBlockHeader(std::uint32_t blockAddress, gxBlockHeader& header) {
  unsigned char bytes[gxBlockHeaderBytes];
  if (ReadAt(bytes, gxBlockHeaderBytes, blockAddress) != gxNoError) return false;
  gxDecodeBlockHeader(bytes, header);
  return true;
}

bool gxDatabase::ReadFileHeaderFromDisk(gxFileHeader& header) {
  // stdio may answer a seek inside its buffer without reading the file again,
  // and another object may have written the header since.
  if (m_ready) m_stream.DropReadAhead();
  unsigned char bytes[gxFileHeaderBytes];
  if (ReadAt(bytes, gxFileHeaderBytes, 0) != gxNoError) return false;
  gxDecodeFileHeader(bytes, header);
  return true;
}

bool gxDatabase::RefreshHeader() {
  gxFileHeader onDisk;
  if (!ReadFileHeaderFromDisk(onDisk)) return false;
  if (!SameCounters(onDisk, m_header)) m_header = onDisk;
  return true;
}

std::uint32_t gxDatabase::CurrentEndOfFile() {
  if (!m_ready) {
    SetError(gxNotReady);
    return m_header.end_of_file;
  }
  gxFileHeader onDisk;
  if (ReadFileHeaderFromDisk(onDisk) && onDisk.end_of_file != m_header.end_of_file) m_header = onDisk;
  return m_header.end_of_file;
}

// ---------------------------------------------------------------------------
// Allocation

void gxDatabase::AbandonFreeList() {
  m_header.free_space = gxAbandonedList;
  WriteFileHeader();
}

std::uint32_t gxDatabase::FirstFit(std::uint32_t blockLength) {
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
  if (m_header.free_space != 0 && method == 2) blockAddress = FirstFit(blockLength);
  const bool appended = blockAddress == 0;

  if (appended) {
    // An end_of_file beyond the real file is damage: appending there would
    // write far away from the data and claim bytes that were never written.
    const std::int64_t fileLength = m_stream.Length();
    if (fileLength >= 0 && oldEnd > fileLength) {
      SetError(gxFileCorrupt);
      return 0;
    }
    blockAddress = oldEnd;
    m_header.end_of_file = oldEnd + blockLength;
    const unsigned char zero = 0;
    if (WriteAt(&zero, 1, m_header.end_of_file - 1, true, true) != gxNoError) {
      m_header.end_of_file = oldEnd;
      return 0;
    }
  }
  if (blockAddress > m_header.highest_block) m_header.highest_block = blockAddress;

  // The in-use header goes last, so a failure before it never leaves a block
  // marked 'N' behind: lists would show it as an empty record with a CRC
  // warning. The bytes on disk end up the same as in the usual order.
  int code = gxNoError;
  if (m_revision == 'C' || m_revision == 'c') {
    const unsigned char zeros[gxLockHeaderBytes] = {};
    code = WriteAt(zeros, gxLockHeaderBytes, blockAddress + gxBlockHeaderBytes, true, true);
  }
  if (code == gxNoError) code = WriteFileHeader();
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

// ---------------------------------------------------------------------------
// Byte access

bool gxDatabase::PositionOf(std::uint64_t& position) {
  const std::int64_t told = m_stream.Tell();
  if (told < 0 || told > 0xFFFFFFFF) {
    SetError(gxPositionError);
    return false;
  }
  position = static_cast<std::uint64_t>(told);
  return true;
}

bool gxDatabase::RepositionIfSwitching(LastOperation next) {
  // stdio needs a positioning call between a read and a write on one stream.
  const LastOperation other = next == LastOperation::Read ? LastOperation::Write : LastOperation::Read;
  if (m_lastOperation != other) return true;
  if (!m_stream.Seek(0, gxFileStream::FromCurrent)) {
    SetError(gxSeekError);
    return false;
  }
  m_lastOperation = LastOperation::Reposition;
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
  bool moved;
  if (address > current)
    moved = m_stream.Seek(static_cast<std::int64_t>(address - current), gxFileStream::FromCurrent);
  else if (address < current)
    moved = m_stream.Seek(address, gxFileStream::FromStart);
  else
    moved = m_stream.Seek(0, gxFileStream::FromCurrent);
  if (!moved) {
    SetError(gxSeekError);
    return gxCurrentAddress;
  }
  m_lastOperation = LastOperation::Reposition;
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
  if (address != gxCurrentAddress) {
    if (SeekTo(address) == gxCurrentAddress) return m_lastError;
  } else if (!RepositionIfSwitching(LastOperation::Read)) {
    return m_lastError;
  }
  const std::size_t got = length == 0 ? 0 : m_stream.Read(buffer, length);
  m_lastOperation = LastOperation::Read;
  if (got != length) return SetError(gxReadError);
  return SetError(gxNoError);
}

int gxDatabase::WriteAt(const void* buffer, std::uint32_t length, std::uint32_t address, bool flush,
                        bool verify) {
  if (!m_ready) return SetError(gxNotReady);
  if (!m_readWrite) return SetError(gxNotWritable);
  if (address != gxCurrentAddress) {
    if (SeekTo(address) == gxCurrentAddress) return m_lastError;
  } else if (!RepositionIfSwitching(LastOperation::Write)) {
    return m_lastError;
  }
  std::uint64_t writtenAt = 0;
  if (!PositionOf(writtenAt)) return m_lastError;
  const std::size_t put = length == 0 ? 0 : m_stream.Write(buffer, length);
  m_lastOperation = LastOperation::Write;
  if (put != length) return SetError(gxWriteError);
  if (flush) {
    if (!m_stream.Flush()) return SetError(gxWriteError);
    if (!m_stream.Seek(0, gxFileStream::FromCurrent)) return SetError(gxSeekError);
    m_lastOperation = LastOperation::Reposition;
  }
  if (verify) {
    const std::uint32_t expected = gxCrc32(buffer, length);
    std::uint32_t actual = 0;
    if (!ChecksumRange(length, static_cast<std::uint32_t>(writtenAt), true, actual) || actual != expected)
      return SetError(gxChecksumError);
  }
  return SetError(gxNoError);
}

// ---------------------------------------------------------------------------
// Checksums

bool gxDatabase::ChecksumRange(std::uint32_t length, std::uint32_t address, bool inMemory,
                               std::uint32_t& crc) {
  crc = 0;
  if (inMemory) {
    std::vector<unsigned char> buffer(length < kChecksumChunk ? length : kChecksumChunk);
    std::uint32_t done = 0;
    do {
      const std::uint32_t piece = length - done < kChecksumChunk ? length - done : kChecksumChunk;
      if (ReadAt(buffer.data(), piece, done == 0 ? address : gxCurrentAddress) != gxNoError) return false;
      crc = gxCrc32(buffer.data(), piece, crc);
      done += piece;
    } while (done < length);
    return true;
  }
  if (SeekTo(address) == gxCurrentAddress) return false;
  for (std::uint32_t i = 0; i < length; ++i) {
    unsigned char byte;
    if (ReadAt(&byte, 1) != gxNoError) return false;
    crc = gxCrc32(&byte, 1, crc);
  }
  SetError(gxNoError);
  return true;
}

std::uint32_t gxDatabase::ComputeChecksum(std::uint32_t length, std::uint32_t address, bool inMemory) {
  std::uint32_t crc = 0;
  if (!m_ready) {
    SetError(gxNotReady);
    return 0;
  }
  return ChecksumRange(length, address, inMemory, crc) ? crc : 0;
}

bool gxDatabase::ReadObjectBlock(std::uint32_t objectAddress, gxBlockHeader& header,
                                 std::uint32_t& objectLength) {
  if (!m_ready) {
    SetError(gxNotReady);
    return false;
  }
  if (objectAddress < BlockHeaderSize()) {
    SetError(gxBadObjectAddress);
    return false;
  }
  const std::uint32_t blockAddress = objectAddress - BlockHeaderSize();
  if (!ReadBlockHeader(blockAddress, header)) return false;
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
  gxBlockHeader header;
  std::uint32_t length = 0;
  if (!ReadObjectBlock(objectAddress, header, length)) return 0;
  std::uint32_t crc = 0;
  if (!ChecksumRange(length, objectAddress, true, crc)) return 0;
  unsigned char bytes[gxChecksumBytes];
  PutWord(bytes, crc);
  if (WriteAt(bytes, gxChecksumBytes, objectAddress + length, true, true) != gxNoError) return 0;
  return crc;
}

bool gxDatabase::VerifyChecksum(std::uint32_t objectAddress, std::uint32_t* stored, std::uint32_t* computed) {
  if (stored) *stored = 0;
  if (computed) *computed = 0;
  if (!HasChecksums()) return true;
  gxBlockHeader header;
  std::uint32_t length = 0;
  if (!ReadObjectBlock(objectAddress, header, length)) return false;
  std::uint32_t crc = 0;
  if (!ChecksumRange(length, objectAddress, true, crc)) return false;
  unsigned char bytes[gxChecksumBytes];
  if (ReadAt(bytes, gxChecksumBytes, objectAddress + length) != gxNoError) return false;
  const std::uint32_t storedCrc = GetWord(bytes);
  if (stored) *stored = storedCrc;
  if (computed) *computed = crc;
  return storedCrc == crc;
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
  // 64-bit arithmetic: a damaged end_of_file near 4 GB must not wrap the bound.
  while (start + BlockHeaderSize() < m_header.end_of_file) {
    gxBlockHeader header;
    if (!ReadBlockHeader(static_cast<std::uint32_t>(start), header)) return 0;
    if (header.check_word == gxCheckWord) {
      SeekTo(static_cast<std::uint32_t>(start));
      return static_cast<std::uint32_t>(start);
    }
    ++start;
  }
  return 0;
}

// ---------------------------------------------------------------------------
// Errors

const char* gxDatabase::ErrorText(int code) {
  if (code < 0 || code >= gxErrorCodeCount) code = gxInvalidErrorCode;
  return kErrorTexts[code];
}

bool gxDatabase::ReportError() {
  if (m_lastError == gxNoError) return false;
  std::fputs(ErrorText(m_lastError), stdout);
  std::fputs("\n", stdout);
  std::fflush(stdout);
  return true;
}
