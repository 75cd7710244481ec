// gxDatabase: the block-file database engine under every record store. One
// file holds a signed header, an optional static area and a heap of
// variable-length blocks, each an object behind a block header and followed
// by its CRC-32; deleted blocks are chained into a free-space list and reused
// first fit. The engine reports failures as numeric codes and never throws.
//
// On-disk format (all integers 32-bit unsigned, little-endian, written byte by
// byte, no alignment; address 0 is the null address):
//
//   File (revision 'C' as this program creates it)
//   | Offset | Size | Meaning                                                 |
//   |--------|------|---------------------------------------------------------|
//   | 0      | 4    | free_space: head of the free list, 0 empty,             |
//   |        |      | 0xFFFFFFFF abandoned                                    |
//   | 4      | 4    | end_of_file: one past the last block                    |
//   | 8      | 4    | heap_start = static size + FileHeaderSize               |
//   | 12     | 4    | highest_block: highest block appended or reused, 0 none |
//   | 16     | 8    | signature "GXDBASE" + revision letter, no terminator    |
//   | 24     | 4    | version 4000 (A0 0F 00 00), not checked on open         |
//   | 28     | 12   | file lock header, zero (revisions 'B' and 'C' only)     |
//   | 40     | S    | static area, fixed at creation                          |
//   | 40 + S | ...  | heap: blocks back to back up to end_of_file             |
//
//   Block
//   | Offset | Size | Meaning                                                 |
//   |--------|------|---------------------------------------------------------|
//   | 0      | 4    | check_word 0x0000FEFE (FE FE 00 00)                     |
//   | 4      | 4    | block_length: header + object + checksum                |
//   | 8      | 4    | block_status, low byte 'N' used, 'D' deleted, 'R'       |
//   |        |      | removed                                                 |
//   | 12     | 4    | next_deleted: next free block, 0 ends the list          |
//   | 16     | 12   | record lock header, zero (revision 'C' only)            |
//   | BHS    | n    | the object; object address = block address + BHS       |
//   | BHS+n  | 4    | CRC-32 (zlib's) of the object (not for revision 0/' ')  |
//
//   Revision letter (8th signature byte): 0x00 or ' ' has no checksums and
//   28/16-byte headers; 'B'/'b' has 40/16; 'C'/'c' has 40/28; every other
//   value behaves as 'A': 28/16 with checksums. FHS/BHS below are these sizes.
//
// Invariants:
//   1. heap_start never changes after creation and is >= FileHeaderSize.
//   2. Blocks tile [heap_start, end_of_file): the next block begins at
//      block address + block_length. A damaged header hides one block only:
//      NextBlock resynchronises at the next byte holding a valid check word.
//   3. Every valid block header has block_length >= BHS (+4 with checksums)
//      and ends at or before end_of_file. A header that breaks this is damage:
//      it is never followed, allocated, freed or checksummed (error 40).
//   4. The free list is LIFO through next_deleted, ended by 0. Its members
//      have status 'D' or 'R'. Once the head is 0xFFFFFFFF it stays so: the
//      list is abandoned, allocation appends and freed blocks store
//      0xFFFFFFFF as next_deleted without being linked.
//   5. A free block is handed out whole only when its length equals the
//      request L; it is split when longer than L + BHS + 4 (strictly,
//      unsigned), the remainder 'R' block taking its place in the list.
//   6. The in-memory header is the master copy within one writing action;
//      it is written back by Close, Flush, Allocate, WriteNewObject and
//      FreeBlock, each of which starts from the file's header as it stands
//      (invariant 10).
//   7. Every length or address read from the file is checked against the
//      file before use; nothing read is allowed to size an allocation beyond
//      a fixed chunk (checksums are computed in chunks of at most 64 KB).
//   8. Every read goes to the file, with two exceptions that only ever hand
//      out bytes this object read from the file or wrote and read back:
//      between BeginWalk and EndWalk, block headers, objects and checksums
//      come from a read-ahead window (128 KB, read with one positioned read);
//      and StoreChecksum takes the block header and the object from the
//      writes just made when they cover them. Any write drops the window and
//      whatever it overlaps; nothing an action wrote and verified is read
//      again by it. The file header is always read from the file:
//      another object may have written it while a message box waited.
//   9. A write is one positioned system call; its flush has nothing left to
//      do (no fsync); its verification is one read of exactly the bytes
//      written, compared byte for byte.
//  10. Writers exclude each other, in one process or several: every writing
//      action (Create, Open taking in a longer file, Close, Flush, Allocate,
//      WriteNewObject, RewriteObject, FreeBlock, WriteAt, StoreChecksum, or
//      a caller's gxWriteAction around several of them) holds the file's writer lock from its first write to
//      its last, and an action that reads the header's counters re-reads the
//      file header from the file once it holds the lock, so a second writer
//      never appends or links over the first's work. The lock is tried
//      without waiting and retried for about a second; a writer that cannot
//      have it fails with error 45 having written nothing. Readers take no
//      lock. Nothing that waits for the user may run while it is held.
//
// Decisions the format leaves open:
//   - Cyclic free lists: the first-fit walk visits at most
//     (end_of_file - heap_start) / (BHS + 4) + 1 blocks, more than can fit in
//     the heap; a longer walk means a cycle and the list is abandoned exactly
//     as for a member with a wrong check word. A member outside the heap, or
//     whose length does not fit in it, is treated the same way.
//   - A database left not ready (wrong signature, or a header too short to
//     read) is never written: every operation returns its failure value with
//     error 19; Close releases the file without writing the header.
//   - Close releases the file even when writing the header back or closing
//     fails: it returns that code (25, 9 or 14) with the object closed, since
//     a handle whose close failed cannot be used again.
//   - Reclaim method 1 (best fit) behaves as method 0 (append).
//   - An append that fails restores end_of_file and highest_block in memory,
//     so the header written later never claims bytes that were not written.
//   - Allocate writes the file header before the block header (the record
//     lock header after it in the same write) that marks the block in use;
//     when either fails it marks the block removed again (a reused block
//     goes back to the head of the free list), so a failed allocation never
//     leaves a live block behind.
//   - WriteNewObject writes the block whole (header, lock header, object,
//     CRC: the bytes Allocate, WriteAt and StoreChecksum leave) with one
//     write, then the file header when it changed: an appended block lies
//     past end_of_file until that header takes it in. A failure gives the
//     block back as Allocate does, except that an appended block whose bytes
//     all reached the file joins the heap as the head of the free list.
//   - Open takes a longer file in up to the first block past end_of_file
//     that no header ever took in: one running past the end of the file (a
//     torn append) or one marked in use above highest_block (an append whose
//     header was never written). Taking either in would let the next append
//     land inside it and a walk step from it into the next record.
//   - Allocate refuses to append (error 15) when end_of_file lies beyond the
//     real file length: the header is damaged and the append would land far
//     beyond the data. Open, reads, frees and reuse of free blocks still work.
//     The length is asked of the system only when end_of_file lies beyond
//     the length this object has seen (at Open and by its own writes).
//   - A block reused from the head of the free list writes the file header
//     once, when it is unlinked; Allocate writes it again only when
//     highest_block changed since.
//   - ComputeChecksum reads in chunks whether or not inMemory is set: one
//     system call per byte would gain nothing over the same CRC.
#ifndef QUILLMATE_DATABASE_GXDATABASE_H
#define QUILLMATE_DATABASE_GXDATABASE_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "Database/gxCrc32.h"
#include "Database/gxFileHandle.h"

constexpr std::uint32_t gxCurrentAddress = 0xFFFFFFFFu;  // "current file position"
constexpr std::uint32_t gxCheckWord = 0x0000FEFEu;
constexpr std::uint32_t gxAbandonedList = 0xFFFFFFFFu;  // free_space of an abandoned list
constexpr std::uint32_t gxDatabaseVersion = 4000;

// Block status words as this program writes them; readers compare the low byte.
constexpr std::uint32_t gxStatusUsed = 0x4Eu;     // 'N'
constexpr std::uint32_t gxStatusDeleted = 0x44u;  // 'D'
constexpr std::uint32_t gxStatusRemoved = 0x52u;  // 'R'

// Error codes the engine sets (the full table of texts is in gxDatabase.cpp).
enum gxDatabaseError {
  gxNoError = 0,
  gxInvalidErrorCode = 1,
  gxBadObjectAddress = 5,
  gxBlockAllocationError = 7,
  gxChecksumError = 9,
  gxCloseError = 14,
  gxFileCorrupt = 15,
  gxCreateError = 16,
  gxNotReady = 19,
  gxNotWritable = 20,
  gxOpenError = 21,
  gxPositionError = 22,
  gxReadError = 23,
  gxSeekError = 24,
  gxWriteError = 25,
  gxSyncError = 40,
  gxWrongFileType = 42,
  gxFileLockError = 45,
  gxErrorCodeCount = 48
};

struct gxFileHeader {
  std::uint32_t free_space;
  std::uint32_t end_of_file;
  std::uint32_t heap_start;
  std::uint32_t highest_block;
  char signature[8];
  std::uint32_t version;
};  // 28 bytes on disk

// What reading an object and checking its CRC found (ReadVerifiedObject).
enum class gxObjectCheck {
  Matches,     // read whole, the stored CRC matches
  Differs,     // read whole, the CRC differs or cannot be computed
  ReadFailed   // the object could not be read whole
};

struct gxBlockHeader {
  std::uint32_t check_word;
  std::uint32_t block_length;
  std::uint32_t block_status;
  std::uint32_t next_deleted;
};  // 16 bytes on disk

constexpr std::uint32_t gxFileHeaderBytes = 28;
constexpr std::uint32_t gxBlockHeaderBytes = 16;
constexpr std::uint32_t gxLockHeaderBytes = 12;
constexpr std::uint32_t gxChecksumBytes = 4;

// Little-endian (de)serialisation, byte by byte, so every host writes the same bytes.
void gxEncodeFileHeader(const gxFileHeader& header, unsigned char (&bytes)[gxFileHeaderBytes]);
void gxDecodeFileHeader(const unsigned char (&bytes)[gxFileHeaderBytes], gxFileHeader& header);
void gxEncodeBlockHeader(const gxBlockHeader& header, unsigned char (&bytes)[gxBlockHeaderBytes]);
void gxDecodeBlockHeader(const unsigned char (&bytes)[gxBlockHeaderBytes], gxBlockHeader& header);

class gxDatabase {
 public:
  gxDatabase();
  virtual ~gxDatabase();
  gxDatabase(const gxDatabase&) = delete;
  gxDatabase& operator=(const gxDatabase&) = delete;

  // Creates (truncating) a database with a static area of staticSize bytes.
  // Returns an error code (16 when the file cannot be created).
  virtual int Create(const char* fileName, std::uint32_t staticSize = 0, char revision = 'C');
  // mode 0 opens read-only, any other value read-write. Returns an error code:
  // 21 cannot open, 23 shorter than a header, 42 foreign signature (the last
  // two leave the object not ready).
  virtual int Open(const char* fileName, int mode = 2);
  virtual int Close();
  virtual int Flush();
  // Returns the object address of a new block for length bytes, 0 on failure.
  // method 2 reuses free blocks first fit; 0 (and 1) always append.
  virtual std::uint32_t Allocate(std::uint32_t length, int method = 2);
  // Returns 1 when freed, 0 when not (already free, damaged, read-only, or a
  // write failed). After a failed write the block is marked in use again; only
  // when that write fails too (the file takes no more writes) may it stay freed.
  int FreeBlock(std::uint32_t objectAddress, bool removeFlag = true);
  // Allocate, the object and its CRC as one block written with one verified
  // write; the file header follows when it changed. Returns the object
  // address, or 0 with the block given back: a reused one to the head of the
  // free list, an appended one past end_of_file (or, when all its bytes
  // reached the file, into the heap as the head of the free list).
  std::uint32_t WriteNewObject(const void* object, std::uint32_t length);
  // The object and its CRC written over the live block at objectAddress,
  // whose object must be length bytes long (else error 5 or 40, nothing
  // written), in one verified write. Returns an error code.
  int RewriteObject(std::uint32_t objectAddress, const void* object, std::uint32_t length);

  int ReadAt(void* buffer, std::uint32_t length, std::uint32_t address = gxCurrentAddress);
  int WriteAt(const void* buffer, std::uint32_t length, std::uint32_t address = gxCurrentAddress,
              bool flush = true, bool verify = true);
  // Returns the position after the move; 0xFFFFFFFF with error 24 (or 19) on failure.
  std::uint32_t SeekTo(std::uint32_t address);
  std::uint32_t Position();

  // CRC-32 of length bytes at address; 0 on failure (LastError tells).
  std::uint32_t ComputeChecksum(std::uint32_t length, std::uint32_t address, bool inMemory = true);
  std::uint32_t StoreChecksum(std::uint32_t objectAddress);
  bool VerifyChecksum(std::uint32_t objectAddress, std::uint32_t* stored = nullptr,
                      std::uint32_t* computed = nullptr);

  // First valid block header at or after address (0 = heap_start), 0 if none.
  std::uint32_t NextBlock(std::uint32_t address = 0);
  std::uint32_t CurrentEndOfFile();

  int LastError() const { return m_lastError; }
  static const char* ErrorText(int code);
  // Writes the text of a pending error and a line end to stdout; false when none.
  bool ReportError();

  bool IsReady() const { return m_ready; }
  bool IsOpen() const { return m_open; }
  bool IsReadWrite() const { return m_readWrite; }
  char RevisionLetter() const { return m_revision; }
  std::uint32_t FileHeaderSize() const;
  std::uint32_t BlockHeaderSize() const;
  bool HasChecksums() const;
  const gxFileHeader& Header() const { return m_header; }
  const char* FileName() const { return m_fileName.c_str(); }

  // Reads the 16-byte block header at blockAddress without judging it;
  // false on a read failure. For heap walkers.
  bool ReadBlockHeader(std::uint32_t blockAddress, gxBlockHeader& header);

  // ReadAt(buffer, length, objectAddress) followed by VerifyChecksum(
  // objectAddress), with their results and error codes, in one read of the
  // whole block when its object is length bytes long (else as those two).
  gxObjectCheck ReadVerifiedObject(std::uint32_t objectAddress, void* buffer, std::uint32_t length);

  // A heap walk up to end: until EndWalk, ReadBlockHeader, VerifyChecksum,
  // ReadVerifiedObject and NextBlock take their bytes from a window of the
  // file read ahead in large sequential reads. Reads served from the window
  // do not move the file position. Close ends a walk.
  void BeginWalk(std::uint32_t end);
  void EndWalk();
  // Forgets the window, so that the next read sees what others wrote since
  // (after a message box, during which other code may have run).
  void DropReadAhead() { m_window.size = 0; }

  // One writing action spanning several operations (invariant 10): takes the
  // writer lock unless this object holds it already, and with rereadHeader
  // makes the in-memory header the file's. Returns an error code (19, 20, 45,
  // or a read's); only after gxNoError must EndWriteAction follow. Calls nest.
  int BeginWriteAction(bool rereadHeader = true);
  void EndWriteAction();

 protected:
  int SetError(int code) {
    m_lastError = code;
    return code;
  }

 private:
  int WriteFileHeader();
  int WriteBlockHeader(std::uint32_t blockAddress, const gxBlockHeader& header);
  bool ReadFileHeaderFromDisk(gxFileHeader& header);
  bool RefreshHeader();
  std::uint32_t MinimumBlockLength() const;
  bool BlockFitsHeap(std::uint32_t blockAddress, const gxBlockHeader& header) const;
  bool ReadObjectBlock(std::uint32_t objectAddress, gxBlockHeader& header, std::uint32_t& objectLength,
                       bool mayUseWritten = false);
  bool ChecksumRange(std::uint32_t length, std::uint32_t address, std::uint32_t& crc);
  bool PositionOf(std::uint64_t& position);
  bool ReadUpTo(void* buffer, std::uint32_t length, std::uint32_t address, std::size_t& got);
  const unsigned char* InWindow(std::uint32_t address, std::uint32_t length);
  bool VerifyBlockInMemory(std::uint32_t objectAddress, const unsigned char* block, std::size_t available,
                           std::uint32_t expectedLength, std::uint32_t* stored, std::uint32_t* computed,
                           bool& decided);
  void ForgetOverlapping(std::uint64_t address, std::uint64_t length);
  void ForgetInHand();
  // Where a new block goes, as Allocate and WriteNewObject find it.
  struct Placement {
    std::uint32_t address = 0;
    std::uint32_t blockLength = 0;
    std::uint32_t oldEnd = 0;
    std::uint32_t oldHighest = 0;
    bool appended = false;
    bool headerWritten = false;  // the file header on disk is m_header
  };
  std::uint32_t FirstFit(std::uint32_t blockLength, bool& headerWritten);
  bool PlaceBlock(std::uint32_t length, int method, Placement& place);
  std::uint32_t NewBlock(const void* object, std::uint32_t length, int method);
  void GiveBackFailedBlock(const Placement& place, bool landedWhole);
  int WriteThrough(const void* buffer, std::uint32_t length, std::uint32_t address, bool flush, bool verify,
                   std::size_t& put);
  bool FindCheckWord(std::uint64_t start, std::uint64_t end, std::uint32_t& found);
  std::uint32_t TailEnd(std::uint32_t fileLength);
  void AbandonFreeList();
  void ResetClosed();
  bool AcquireWriterLock();

  gxFileHandle m_file;
  std::string m_fileName;
  gxFileHeader m_header;
  char m_revision;
  bool m_ready;
  bool m_open;
  bool m_readWrite;
  int m_lastError;

  // The walk's read-ahead: size bytes of the file from start (invariant 8).
  struct Window {
    std::vector<unsigned char> bytes;
    std::uint32_t start = 0;
    std::uint32_t size = 0;
  };
  Window m_window;
  bool m_walking = false;
  std::uint32_t m_walkEnd = 0;
  // The last verified write: its bytes as read back, where they lie.
  std::vector<unsigned char> m_readBack;
  bool m_writtenKnown = false;
  std::uint32_t m_writtenAddress = 0;
  std::uint32_t m_writtenLength = 0;
  // The last block header this object wrote and read back.
  bool m_headerKnown = false;
  std::uint32_t m_knownHeaderAddress = 0;
  gxBlockHeader m_knownHeader{};
  // Scratch for reads that are checked but not kept (checksums, whole blocks).
  std::vector<unsigned char> m_scratch;
  // A block as WriteNewObject and RewriteObject put it together for its one write.
  std::vector<unsigned char> m_compose;
  // Writing actions under way (nested), and whether the header was re-read
  // from the file since the lock was taken.
  int m_actionDepth = 0;
  bool m_headerFresh = false;
};

// A writing action for the span of a scope (gxDatabase::BeginWriteAction).
class gxWriteAction {
 public:
  explicit gxWriteAction(gxDatabase& database, bool rereadHeader = true)
      : m_database(database), m_code(database.BeginWriteAction(rereadHeader)) {}
  ~gxWriteAction() {
    if (m_code == gxNoError) m_database.EndWriteAction();
  }
  gxWriteAction(const gxWriteAction&) = delete;
  gxWriteAction& operator=(const gxWriteAction&) = delete;
  // gxNoError when the action holds the lock.
  int Code() const { return m_code; }

 private:
  gxDatabase& m_database;
  const int m_code;
};

// The file-status query the stores use before Open or Create.
bool gxFileExists(const char* fileName);

#endif  // QUILLMATE_DATABASE_GXDATABASE_H
