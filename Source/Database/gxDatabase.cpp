// The engine's operations. Every one goes to the file through positioned
// reads and writes; besides the in-memory file header, the only bytes kept
// between calls are those of invariant 8 in gxDatabase.h (a walk's
// read-ahead, the last verified write). Lengths and addresses read from the
// file are checked before they are used (invariants 3 and 7).
#include "Database/gxDatabase.h"

#include <algorithm>
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
// Checksums are computed and writes verified in pieces no larger than this,
// so a damaged length can never make the engine allocate more.
constexpr std::uint32_t kChecksumChunk = 64 * 1024;
// A walk reads ahead this much at a time: about 160 text notes per system call.
constexpr std::uint32_t kWindowBytes = 128 * 1024;

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
  m_lastError = gxNoError;
  ForgetInHand();
  m_walking = false;
  // Nothing is kept between user actions: the buffers go with the file.
  std::vector<unsigned char>().swap(m_window.bytes);
  std::vector<unsigned char>().swap(m_readBack);
  std::vector<unsigned char>().swap(m_scratch);
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
  if (heapStart > 0xFFFFFFFFu || !m_file.Open(fileName, gxFileHandle::Access::CreateReadWrite)) {
    m_revision = previousRevision;
    return SetError(gxCreateError);
  }
  m_ready = m_open = m_readWrite = true;
  m_fileName = fileName;

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
  if (!m_file.Open(fileName, readWrite ? gxFileHandle::Access::ReadWrite : gxFileHandle::Access::ReadOnly))
    return SetError(gxOpenError);
  m_ready = m_open = true;
  m_readWrite = readWrite;
  m_fileName = fileName;

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

  const std::int64_t length = m_file.Length();
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
        m_file.Close();
        ResetClosed();
        return SetError(code);
      }
    }
    if (!m_file.Close()) {
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
  if (!m_file.Flush()) return SetError(gxWriteError);
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

bool gxDatabase::ReadFileHeaderFromDisk(gxFileHeader& header) {
  // Always from the file, never from a window: another object may have
  // written the header since (while a message box of this action waited).
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
  if (!m_ready) return SetError(gxNotReady);
  if (!m_readWrite) return SetError(gxNotWritable);
  if (address != gxCurrentAddress && SeekTo(address) == gxCurrentAddress) return m_lastError;
  std::uint64_t writtenAt = 0;
  if (!PositionOf(writtenAt)) return m_lastError;
  // Whatever this write touches is no longer in hand, even if it fails.
  m_window.size = 0;
  m_writtenKnown = false;
  ForgetOverlapping(writtenAt, length);
  const std::size_t put = length == 0 ? 0 : m_file.Write(buffer, length);
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
  while (start <= last) {
    const std::uint32_t want =
        static_cast<std::uint32_t>(std::min<std::uint64_t>(kWindowBytes, last + gxBlockHeaderBytes - start));
    const std::uint32_t at = static_cast<std::uint32_t>(start);
    const unsigned char* bytes = InWindow(at, want);
    std::size_t got = want;
    if (bytes == nullptr) {
      if (m_scratch.size() < want) m_scratch.resize(want);
      if (!ReadUpTo(m_scratch.data(), want, at, got)) return 0;
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
          const std::uint32_t found = at + static_cast<std::uint32_t>(candidate - bytes);
          SetError(gxNoError);
          SeekTo(found);
          return found;
        }
        ++candidate;
      }
    }
    if (got < want) {
      // The next candidate's 16 bytes cannot be read.
      SetError(gxReadError);
      return 0;
    }
    start += got - (gxBlockHeaderBytes - 1);
  }
  SetError(gxNoError);
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
