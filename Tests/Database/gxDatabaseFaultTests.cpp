// Injected stream failures: each is reported by its code and what was stored
// before survives, readable and with a matching CRC, after reopening.
#include "DatabaseTestSupport.h"

#include <string>
#include <vector>

namespace qmtest {
namespace {

class DatabaseFaults : public DatabaseTest {
 protected:
  // A database with one verified text note at 68; returns the file bytes.
  Bytes MakeOneRecord(const std::string& path) {
    gxDatabase db;
    EXPECT_EQ(db.Create(path.c_str()), 0);
    EXPECT_EQ(AddObject(db, SampleRecord(773, 1)), 68u);
    EXPECT_EQ(db.Close(), 0);
    return ReadFileBytes(path);
  }

  void ExpectFirstRecordIntact(const std::string& path) {
    gxClearFaults();
    gxDatabase db;
    ASSERT_EQ(db.Open(path.c_str()), 0);
    Bytes record(773);
    ASSERT_EQ(db.ReadAt(record.data(), 773, 68), 0);
    EXPECT_EQ(record, SampleRecord(773, 1));
    EXPECT_TRUE(db.VerifyChecksum(68));
    EXPECT_EQ(db.NextBlock(0), 40u);
  }

  // Block addresses of the blocks marked in use, by a heap walk.
  static std::vector<std::uint32_t> LiveBlocks(const std::string& path) {
    std::vector<std::uint32_t> live;
    gxDatabase db;
    if (db.Open(path.c_str(), 0) != 0) return live;
    const std::uint32_t end = db.Header().end_of_file;
    std::uint32_t address = db.NextBlock(0);
    while (address != 0 && address < end) {
      gxBlockHeader header{};
      if (!db.ReadBlockHeader(address, header)) break;
      if (header.check_word != gxCheckWord || header.block_length < 32 ||
          header.block_length > end - address) {
        address = db.NextBlock(address + 1);
        continue;
      }
      if ((header.block_status & 0xFFu) == 'N') live.push_back(address);
      address += header.block_length;
    }
    return live;
  }
};

TEST_F(DatabaseFaults, FailedAppendIsReportedAndLeavesEarlierRecordsAndEndOfFile) {
  const std::string path = PathOf("append.qmt");
  MakeOneRecord(path);
  for (int nth = 1; nth <= 3; ++nth) {  // zero byte, file header, block and lock headers
    SCOPED_TRACE(nth);
    gxDatabase db;
    ASSERT_EQ(db.Open(path.c_str()), 0);
    const std::uint32_t end = db.Header().end_of_file;
    const std::uint32_t highest = db.Header().highest_block;
    gxInjectFault(gxFaultOp::Write, nth, false);
    EXPECT_EQ(db.Allocate(773), 0u);
    EXPECT_EQ(db.LastError(), 25);
    EXPECT_EQ(gxFaultsFired(), 1);
    EXPECT_EQ(db.Header().end_of_file, end);  // the header never claims unwritten bytes
    EXPECT_EQ(db.Header().highest_block, highest);
    gxClearFaults();
    EXPECT_EQ(db.Close(), 0);
    ExpectFirstRecordIntact(path);
    EXPECT_EQ(LiveBlocks(path), std::vector<std::uint32_t>{40u});
  }
}

TEST_F(DatabaseFaults, FailedNewObjectIsReportedAndLeavesEarlierRecordsAndGivesItsBlockBack) {
  const std::string path = PathOf("newobject.qmt");
  const Bytes before = MakeOneRecord(path);
  const Bytes object = SampleRecord(773, 2);
  // Two writes: the block whole (header, object, CRC), then the file header.
  // A torn block leaves end_of_file where it was; a block that reached the
  // file whole joins the heap as the head of the free list. Either way the
  // next object takes its place.
  for (int nth = 1; nth <= 2; ++nth) {
    SCOPED_TRACE(nth);
    WriteFileBytes(path, before);
    gxDatabase db;
    ASSERT_EQ(db.Open(path.c_str()), 0);
    gxInjectFault(gxFaultOp::Write, nth, false);
    EXPECT_EQ(db.WriteNewObject(object.data(), 773), 0u);
    EXPECT_EQ(db.LastError(), 25);
    EXPECT_EQ(gxFaultsFired(), 1);
    gxClearFaults();
    EXPECT_EQ(db.Header().highest_block, 40u);
    if (nth == 1) {
      EXPECT_EQ(db.Header().end_of_file, 845u);  // the header never claims a torn block
      EXPECT_EQ(db.Header().free_space, 0u);
    } else {
      EXPECT_EQ(db.Header().end_of_file, 845u + 805u);
      EXPECT_EQ(db.Header().free_space, 845u);
    }
    EXPECT_EQ(db.Close(), 0);
    ExpectFirstRecordIntact(path);
    EXPECT_EQ(LiveBlocks(path), std::vector<std::uint32_t>{40u});
    gxDatabase again;
    ASSERT_EQ(again.Open(path.c_str()), 0);
    EXPECT_EQ(again.WriteNewObject(object.data(), 773), 873u);
    EXPECT_EQ(again.Header().free_space, 0u);
    EXPECT_EQ(again.Header().end_of_file, 845u + 805u);
    EXPECT_TRUE(again.VerifyChecksum(873));
    ASSERT_EQ(again.Close(), 0);
    EXPECT_EQ(LiveBlocks(path), (std::vector<std::uint32_t>{40u, 845u}));
  }
}

TEST_F(DatabaseFaults, OpenTakesInNoBlockThatAnAppendLeftPastEndOfFile) {
  // What a failed append can leave behind the header's end_of_file: a block
  // cut short by the end of the file, and a whole block marked in use above
  // highest_block, whose header was never written. Taking either in would
  // put the next record inside it; a whole removed block is taken in.
  const std::string path = PathOf("tail.qmt");
  const Bytes before = MakeOneRecord(path);
  Bytes block(805, 0);
  for (std::size_t i = 28; i < 801; ++i) block[i] = static_cast<unsigned char>(i);
  auto withTail = [&](std::uint32_t status, std::size_t kept) {
    Bytes disk = before;
    Bytes tail = block;
    const std::uint32_t words[3] = {gxCheckWord, 805u, status};
    for (int w = 0; w < 3; ++w)
      for (int i = 0; i < 4; ++i) tail[4 * w + i] = static_cast<unsigned char>(words[w] >> (8 * i));
    disk.insert(disk.end(), tail.begin(), tail.begin() + static_cast<std::ptrdiff_t>(kept));
    WriteFileBytes(path, disk);
  };
  const struct {
    std::uint32_t status;
    std::size_t kept;
    std::uint32_t end;
  } cases[] = {{gxStatusRemoved, 402, 845}, {gxStatusUsed, 402, 845}, {gxStatusUsed, 805, 845},
               {gxStatusRemoved, 805, 1650}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.status) + " " + std::to_string(c.kept));
    withTail(c.status, c.kept);
    gxDatabase db;
    ASSERT_EQ(db.Open(path.c_str()), 0);
    EXPECT_EQ(db.Header().end_of_file, c.end);
    const std::uint32_t next = db.WriteNewObject(SampleRecord(773, 3).data(), 773);
    EXPECT_EQ(next, c.end + 28u);
    ASSERT_EQ(db.Close(), 0);
    ExpectFirstRecordIntact(path);
    EXPECT_EQ(LiveBlocks(path), (std::vector<std::uint32_t>{40u, next - 28u}));
  }
}

TEST_F(DatabaseFaults, FailedAllocationLeavesNoLiveBlockEvenWhenEveryLaterWriteFails) {
  // A persistent fault: the clean-up writes fail too, yet nothing on disk
  // marks the new block in use.
  for (int nth = 2; nth <= 3; ++nth) {  // file header, block and lock headers
    SCOPED_TRACE(nth);
    const std::string path = PathOf("persistent" + std::to_string(nth) + ".qmt");
    MakeOneRecord(path);
    gxDatabase db;
    ASSERT_EQ(db.Open(path.c_str()), 0);
    gxInjectFault(gxFaultOp::Write, nth, true);
    EXPECT_EQ(db.Allocate(773), 0u);
    EXPECT_EQ(db.LastError(), 25);
    gxClearFaults();
    db.Close();
    EXPECT_EQ(LiveBlocks(path), std::vector<std::uint32_t>{40u});
    // Open takes in the bytes the failed append left, so the next record
    // follows them, unless they begin with a block marked in use whose
    // header never took it in (the torn block header, nth 3): the next
    // record is then written over them.
    gxDatabase again;
    ASSERT_EQ(again.Open(path.c_str()), 0);
    const std::uint32_t next = AddObject(again, SampleRecord(773, 5));
    EXPECT_EQ(next, nth == 3 ? 845u + 28u : 845u + 805u + 28u);
    ASSERT_EQ(again.Close(), 0);
    EXPECT_EQ(LiveBlocks(path), (std::vector<std::uint32_t>{40u, next - 28u}));
  }
}

TEST_F(DatabaseFaults, FailedReuseOfAFreeBlockPutsItBackOnTheFreeList) {
  const std::string path = PathOf("reuse.qmt");
  MakeOneRecord(path);
  {
    gxDatabase db;
    ASSERT_EQ(db.Open(path.c_str()), 0);
    ASSERT_EQ(AddObject(db, SampleRecord(773, 2)), 873u);
    ASSERT_EQ(db.FreeBlock(873), 1);
    ASSERT_EQ(db.Close(), 0);
  }
  // Writes: unlinking (file header), block and lock headers. The header
  // the unlink wrote is not written again: it has not changed since.
  for (int nth = 2; nth <= 2; ++nth) {
    SCOPED_TRACE(nth);
    gxDatabase db;
    ASSERT_EQ(db.Open(path.c_str()), 0);
    gxInjectFault(gxFaultOp::Write, nth, false);
    EXPECT_EQ(db.Allocate(773), 0u);
    EXPECT_EQ(db.LastError(), 25);
    gxClearFaults();
    EXPECT_EQ(db.Header().free_space, 845u);
    EXPECT_EQ(db.Header().highest_block, 845u);
    EXPECT_EQ(db.Close(), 0);
    EXPECT_EQ(LiveBlocks(path), std::vector<std::uint32_t>{40u});
    EXPECT_EQ(ReadFileBytes(path).size(), 845u + 805u);
  }
  gxDatabase db;
  ASSERT_EQ(db.Open(path.c_str()), 0);
  // A failed unlink hands nothing out: the allocation appends and the free
  // block stays on the list for the next one.
  gxInjectFault(gxFaultOp::Write, 1, false);
  EXPECT_EQ(db.Allocate(773), 1650u + 28u);
  gxClearFaults();
  EXPECT_EQ(db.Header().free_space, 845u);
  EXPECT_EQ(AddObject(db, SampleRecord(773, 3)), 873u);  // reused, not appended
  EXPECT_EQ(db.Header().free_space, 0u);
  ASSERT_EQ(db.Close(), 0);
  EXPECT_EQ(LiveBlocks(path), (std::vector<std::uint32_t>{40u, 845u, 1650u}));
}

TEST_F(DatabaseFaults, EndOfFileBeyondTheFileIsReadableButTakesNoAppend) {
  const std::string path = PathOf("beyond.qmt");
  Bytes disk = MakeOneRecord(path);
  disk[7] = 0x70;  // end_of_file far beyond the 845 bytes
  WriteFileBytes(path, disk);
  gxDatabase db;
  ASSERT_EQ(db.Open(path.c_str()), 0);
  Bytes record(773);
  EXPECT_EQ(db.ReadAt(record.data(), 773, 68), 0);
  EXPECT_EQ(record, SampleRecord(773, 1));
  EXPECT_TRUE(db.VerifyChecksum(68));
  EXPECT_EQ(db.Allocate(773), 0u);
  EXPECT_EQ(db.LastError(), 15);
  EXPECT_EQ(db.Allocate(773, 0), 0u);
  EXPECT_EQ(db.LastError(), 15);
  EXPECT_EQ(db.Header().end_of_file, 0x70000000u + 845u);
  db.Close();
  EXPECT_EQ(ReadFileBytes(path).size(), 845u);
}

TEST_F(DatabaseFaults, TornRecordWriteIsReportedAndDetectedByTheChecksum) {
  const std::string path = PathOf("torn.qmt");
  MakeOneRecord(path);
  gxDatabase db;
  ASSERT_EQ(db.Open(path.c_str()), 0);
  const std::uint32_t second = AddObject(db, SampleRecord(773, 2));
  ASSERT_EQ(second, 68u + 805u);
  const Bytes replacement = SampleRecord(773, 3);
  gxInjectFault(gxFaultOp::Write, 1, false);
  EXPECT_EQ(db.WriteAt(replacement.data(), 773, second), 25);
  gxClearFaults();
  std::uint32_t stored = 0, computed = 0;
  EXPECT_FALSE(db.VerifyChecksum(second, &stored, &computed));
  EXPECT_EQ(stored, gxCrc32(SampleRecord(773, 2).data(), 773));
  ASSERT_EQ(db.Close(), 0);
  ExpectFirstRecordIntact(path);
}

TEST_F(DatabaseFaults, FailedFlushReadAndSeekAreReportedByTheirCodes) {
  const std::string path = PathOf("flush.qmt");
  MakeOneRecord(path);
  gxDatabase db;
  ASSERT_EQ(db.Open(path.c_str()), 0);
  const unsigned char data[8] = {9, 9, 9, 9, 9, 9, 9, 9};
  unsigned char got[8];

  gxInjectFault(gxFaultOp::Flush, 1, false);
  EXPECT_EQ(db.WriteAt(data, 8, 68 + 773 - 8, true, true), 25);
  gxInjectFault(gxFaultOp::Flush, 2, false);  // the header's write flushes first
  EXPECT_EQ(db.Flush(), 25);

  gxInjectFault(gxFaultOp::Read, 1, false);
  EXPECT_EQ(db.ReadAt(got, 8, 68), 23);
  gxInjectFault(gxFaultOp::Read, 1, false);  // the read-back after the write
  EXPECT_EQ(db.WriteAt(data, 8, 68 + 773 - 8, true, true), 9);

  gxInjectFault(gxFaultOp::Seek, 1, false);
  EXPECT_EQ(db.ReadAt(got, 8, 68), 24);
  gxInjectFault(gxFaultOp::Read, 1, false);
  EXPECT_FALSE(db.VerifyChecksum(68));
  gxInjectFault(gxFaultOp::Read, 1, false);
  EXPECT_EQ(db.NextBlock(0), 0u);

  gxClearFaults();
  EXPECT_EQ(db.ReadAt(got, 8, 68), 0);
  // The record's last eight bytes were overwritten on purpose: only its CRC is off.
  EXPECT_FALSE(db.VerifyChecksum(68));
  ASSERT_EQ(db.Close(), 0);
}

TEST_F(DatabaseFaults, PersistentWriteFailureKeepsFailingAndCloseReportsIt) {
  const std::string path = PathOf("persistent.qmt");
  const Bytes before = MakeOneRecord(path);
  gxDatabase db;
  ASSERT_EQ(db.Open(path.c_str()), 0);
  gxInjectFault(gxFaultOp::Write, 1, true);
  EXPECT_EQ(db.Allocate(773), 0u);
  EXPECT_EQ(db.FreeBlock(68), 0);
  EXPECT_EQ(db.LastError(), 25);
  EXPECT_EQ(db.Close(), 25);  // the header could not be written back
  EXPECT_FALSE(db.IsOpen());
  EXPECT_GE(gxFaultsFired(), 3);
  gxClearFaults();
  ExpectFirstRecordIntact(path);
}

TEST_F(DatabaseFaults, FailedOpenAndCreateLeaveTheObjectClosed) {
  const std::string path = PathOf("open.qmt");
  MakeOneRecord(path);
  gxDatabase db;
  gxInjectFault(gxFaultOp::Open, 1, false);
  EXPECT_EQ(db.Open(path.c_str()), 21);
  EXPECT_FALSE(db.IsOpen());
  gxInjectFault(gxFaultOp::Open, 1, false);
  EXPECT_EQ(db.Create(PathOf("new.qmt").c_str()), 16);
  EXPECT_FALSE(db.IsOpen());
  EXPECT_FALSE(gxFileExists(PathOf("new.qmt").c_str()));
  gxInjectFault(gxFaultOp::Read, 1, false);
  EXPECT_EQ(db.Open(path.c_str()), 23);  // header read fails: not ready
  EXPECT_FALSE(db.IsReady());
  EXPECT_EQ(db.Close(), 0);
  ExpectFirstRecordIntact(path);
}

}  // namespace
}  // namespace qmtest
