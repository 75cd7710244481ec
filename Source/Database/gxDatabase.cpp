// The engine's file as a whole: the format's words and sizes, creating,
// opening, flushing and closing a database, its file header, and the error
// texts. Block allocation, record I/O and the walk live in gxDatabase_*.cpp;
// every operation goes to the file through positioned reads and writes, and
// besides the in-memory file header the only bytes kept between calls are
// those of invariant 8 in gxDatabase.h.
#include "Database/gxDatabase.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "Database/gxDatabase_Internal.h"

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
  // Closing the handle released the writer lock.
  m_actionDepth = 0;
  m_headerFresh = false;
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

  gxOperationWriteAction action(*this, false);
  if (action.Failed()) return m_lastError;
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

  std::int64_t length = m_file.Length();
  if (length > static_cast<std::int64_t>(m_header.end_of_file) && length <= 0xFFFFFFFF) {
    // Under the lock, from the header as the last writer left it: a writer
    // that is appending has grown the file before writing its header, and
    // its block is not a tail to take in. Without the lock the tail waits
    // for the next open.
    gxOperationWriteAction action(*this, true);
    if (action.Failed()) return SetError(gxNoError);
    if (m_readWrite) length = m_file.Length();
    if (length > static_cast<std::int64_t>(m_header.end_of_file) && length <= 0xFFFFFFFF) {
      const std::uint32_t end = TailEnd(static_cast<std::uint32_t>(length));
      if (end > m_header.end_of_file) {
        m_header.end_of_file = end;
        code = Flush();
        if (code != gxNoError) return code;
      }
    }
  }
  return SetError(gxNoError);
}

int gxDatabase::Close() {
  if (m_open) {
    // A database that is not ready is never written, not even its header.
    if (m_ready && m_readWrite) {
      int code;
      {
        // The header as the last writer left it, not as this object last saw it.
        gxOperationWriteAction action(*this, true);
        code = action.Failed() ? m_lastError : WriteFileHeader();
      }
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
  gxOperationWriteAction action(*this, true);
  if (action.Failed()) return m_lastError;
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
