// Stores over real files: where records land, the order of a walk, what a
// damaged file shows, and the failures the stores must not hide (a write or
// read that failed, a file that must not be truncated, a block header that
// would stall a walk).
#include <cstring>
#include <string>
#include <vector>

#include "Records/DatabaseObject.h"
#include "Records/RecordText.h"
#include "RecordsTestSupport.h"

namespace qmrecords {
namespace {

class RecordStoreTest : public RecordsTest {
 protected:
  std::string NotesPath() const { return PathOf("TextNotes.qmt"); }

  // Adds text notes with the given titles; returns their addresses.
  std::vector<std::uint32_t> AddNotes(const std::vector<std::string>& titles) {
    std::vector<std::uint32_t> addresses;
    auto store = OpenStore<DatabaseDataTextNote>(NotesPath());
    EXPECT_TRUE(store);
    if (!store) return addresses;
    for (const std::string& title : titles) {
      store->Data() = DatabaseDataTextNote{};
      CopyRecordText(store->Data().title, title.c_str());
      store->Data().noteType = 1;
      addresses.push_back(store->AddRecord());
    }
    EXPECT_TRUE(CloseStore(store));
    return addresses;
  }

  std::vector<std::string> ListedTitles(std::vector<std::uint32_t>* addresses = nullptr) {
    std::vector<std::string> titles;
    auto store = OpenStore<DatabaseDataTextNote>(NotesPath());
    EXPECT_TRUE(store);
    if (!store) return titles;
    store->ForEachRecordOf([&](const DatabaseDataTextNote& note, std::uint32_t address) {
      titles.push_back(RecordTextOf(note.title));
      if (addresses) addresses->push_back(address);
      EXPECT_EQ(+note.ownAddress, address);
    });
    EXPECT_TRUE(CloseStore(store));
    return titles;
  }

  using Titles = std::vector<std::string>;
};

TEST_F(RecordStoreTest, FirstRecordOfANewFileLandsAt68WithItsCrcAndOwnAddressZeroOnDisk) {
  EXPECT_EQ(AddNotes({"first"}), std::vector<std::uint32_t>{68});
  const Bytes disk = ReadFileBytes(NotesPath());
  ASSERT_EQ(disk.size(), 845u);
  EXPECT_EQ(WordAt(disk, 4), 845u) << "end_of_file";
  EXPECT_EQ(WordAt(disk, 12), 40u) << "highest_block";
  EXPECT_EQ(WordAt(disk, 40), 0xFEFEu);
  EXPECT_EQ(WordAt(disk, 44), 805u);
  EXPECT_EQ(WordAt(disk, 48), 0x4Eu);
  EXPECT_EQ(WordAt(disk, 68 + 769), 0u);
  EXPECT_EQ(WordAt(disk, 841), gxCrc32(disk.data() + 68, 773));

  auto store = OpenStore<DatabaseDataTextNote>(NotesPath());
  ASSERT_TRUE(store);
  EXPECT_EQ(store->RecordAddress(), 0u);
  EXPECT_EQ(store->ReadRecord(68), RecordReadStatus::Ok);
  EXPECT_EQ(store->RecordAddress(), 68u);
  EXPECT_EQ(RecordTextOf(store->Data().title), "first");
  EXPECT_EQ(+store->Data().noteType, 1);
  EXPECT_TRUE(CloseStore(store));
  EXPECT_TRUE(boxes_.shown.empty());
}

TEST_F(RecordStoreTest, OpenStoreCreatesAMissingFileAsAnEmptyDatabaseInTheDataFolder) {
  MakeDataFolders();
  auto store = OpenStore<DatabaseDataTimeNotif>();
  ASSERT_TRUE(store);
  EXPECT_TRUE(CloseStore(store));
  EXPECT_FALSE(store);
  const std::string path = (folder_.Path() / "Quillmate" / "TimeNotif.qmt").string();
  EXPECT_EQ(StoreFilePath(RecordKind::TimeNotif), path);
  const Bytes disk = ReadFileBytes(path);
  ASSERT_EQ(disk.size(), 40u);
  EXPECT_EQ(std::string(disk.begin() + 16, disk.begin() + 24), "GXDBASEC");
}

TEST_F(RecordStoreTest, ChangeKeepsTheAddressAndAStoreNeverReadChangesNothing) {
  AddNotes({"a", "b"});
  const Bytes before = ReadFileBytes(NotesPath());
  auto store = OpenStore<DatabaseDataTextNote>(NotesPath());
  ASSERT_TRUE(store);
  DatabaseDataTextNote changed{};
  CopyRecordText(changed.title, "changed");
  EXPECT_EQ(store->ChangeRecord(changed), 0u);
  EXPECT_EQ(store->DeleteRecord(), 0u);
  EXPECT_EQ(ReadFileBytes(NotesPath()), before);

  store->ReadRecord(873);
  EXPECT_EQ(store->ChangeRecord(changed), 873u);
  EXPECT_EQ(RecordTextOf(store->Data().title), "changed");
  EXPECT_EQ(+store->Data().noteType, 0) << "the type is copied too";
  EXPECT_TRUE(CloseStore(store));
  EXPECT_EQ(ListedTitles(), (Titles{"a", "changed"}));
}

TEST_F(RecordStoreTest, AddedRecordsReuseFreedBlocksAndAreVisitedWhereTheBlockLies) {
  std::vector<std::uint32_t> addresses = AddNotes({"A", "B", "C"});
  ASSERT_EQ(addresses, (std::vector<std::uint32_t>{68, 873, 1678}));
  {
    auto store = OpenStore<DatabaseDataTextNote>(NotesPath());
    ASSERT_TRUE(store);
    store->ReadRecord(68);
    EXPECT_EQ(store->DeleteRecord(), 68u);
    EXPECT_EQ(store->DeleteRecord(), 0u) << "a block is freed once";
    EXPECT_TRUE(CloseStore(store));
  }
  EXPECT_EQ(ListedTitles(), (Titles{"B", "C"}));
  EXPECT_EQ(WordAt(ReadFileBytes(NotesPath()), 0), 40u) << "free_space";
  EXPECT_EQ(AddNotes({"D"}), std::vector<std::uint32_t>{68});
  EXPECT_EQ(ListedTitles(), (Titles{"D", "B", "C"}));
  EXPECT_EQ(WordAt(ReadFileBytes(NotesPath()), 0), 0u);
}

TEST_F(RecordStoreTest, AFlippedRecordByteWarnsOnceAndTheRecordIsStillListed) {
  AddNotes({"A", "B", "C"});
  Bytes disk = ReadFileBytes(NotesPath());
  disk[873 + 255] ^= 0x01;  // first character of B's title
  WriteFileBytes(NotesPath(), disk);

  EXPECT_EQ(ListedTitles(), (Titles{"A", "C", "C"}));
  ASSERT_EQ(boxes_.shown.size(), 1u);
  EXPECT_EQ(boxes_.shown[0].owner, nullptr);
  EXPECT_EQ(boxes_.shown[0].text, "Database Object CRC Error");
  EXPECT_EQ(boxes_.shown[0].caption, "Database Handling");
  EXPECT_EQ(boxes_.shown[0].style, kMbOk | kMbIconWarning);
}

TEST_F(RecordStoreTest, ABrokenCheckWordHidesOnlyThatRecord) {
  AddNotes({"A", "B", "C"});
  Bytes disk = ReadFileBytes(NotesPath());
  disk[845] ^= 0x10;  // B's check word
  WriteFileBytes(NotesPath(), disk);
  EXPECT_EQ(ListedTitles(), (Titles{"A", "C"}));
  EXPECT_TRUE(boxes_.shown.empty());
}

TEST_F(RecordStoreTest, AWalkAcrossManyReadAheadWindowsSeesEveryRecordAndCrossesLongDamage) {
  // 600 notes, about four times what a walk reads ahead at once, so records
  // and damage straddle the edges of what is in memory.
  constexpr int kCount = 600;
  std::vector<std::string> titles;
  for (int i = 0; i < kCount; ++i) titles.push_back("note " + std::to_string(i));
  const std::vector<std::uint32_t> addresses = AddNotes(titles);
  ASSERT_EQ(addresses.size(), static_cast<std::size_t>(kCount));
  Bytes disk = ReadFileBytes(NotesPath());
  // Note 50's check word broken; notes 150 to 420 under 217 KB of zeros
  // that end inside note 420's record; one byte of note 500's title flipped.
  disk[addresses[50] - 28] ^= 0x01;
  std::fill(disk.begin() + (addresses[150] - 28), disk.begin() + (addresses[420] + 100), 0);
  disk[addresses[500] + 255 + 4] ^= 0x01;
  WriteFileBytes(NotesPath(), disk);

  Titles expected;
  std::vector<std::uint32_t> expectedAddresses;
  for (int i = 0; i < kCount; ++i) {
    if (i == 50 || (i >= 150 && i <= 420)) continue;
    std::string title = titles[i];
    if (i == 500) title[4] ^= 0x01;
    expected.push_back(title);
    expectedAddresses.push_back(addresses[i]);
  }
  std::vector<std::uint32_t> listed;
  EXPECT_EQ(ListedTitles(&listed), expected);
  EXPECT_EQ(listed, expectedAddresses);
  ASSERT_EQ(boxes_.shown.size(), 1u) << "only note 500 fails its CRC";
}

TEST_F(RecordStoreTest, BlockLengthsThatWouldStallOrOverrunTheWalkAreSteppedOver) {
  for (std::uint32_t badLength : {0u, 1u, 27u, 31u, 0xFFFFFFF0u, 2000u}) {
    SCOPED_TRACE(badLength);
    std::filesystem::remove(NotesPath());
    AddNotes({"A", "B", "C"});
    Bytes disk = ReadFileBytes(NotesPath());
    // C is the last block: 2000 runs past end_of_file there.
    const std::size_t block = badLength == 2000u ? 1650 : 845;
    for (int i = 0; i < 4; ++i) disk[block + 4 + i] = static_cast<unsigned char>(badLength >> (8 * i));
    WriteFileBytes(NotesPath(), disk);
    Titles expected = badLength == 2000u ? Titles{"A", "B"} : Titles{"A", "C"};
    EXPECT_EQ(ListedTitles(), expected);
  }
}

TEST_F(RecordStoreTest, AFailedWriteAddsNothingAndGivesItsBlockBack) {
  AddNotes({"kept"});
  const Bytes original = ReadFileBytes(NotesPath());
  // An add makes two writes: its block whole (header, record, CRC), then the
  // file header. Fail each write and each flush in turn (a failed write is a
  // torn one, a failed flush lands): the add either succeeds whole or reports
  // 0 with the write's error, gives its block back, and nothing half-written
  // is listed.
  int failed = 0;
  for (const gxFaultOp op : {gxFaultOp::Write, gxFaultOp::Flush}) {
    for (int nth = 1; nth <= 3; ++nth) {
      SCOPED_TRACE(std::to_string(static_cast<int>(op)) + " #" + std::to_string(nth));
      WriteFileBytes(NotesPath(), original);
      auto store = OpenStore<DatabaseDataTextNote>(NotesPath());
      ASSERT_TRUE(store);
      CopyRecordText(store->Data().title, "new");
      gxInjectFault(op, nth, false);
      const std::uint32_t address = store->AddRecord();
      gxClearFaults();
      if (address != 0) {
        CloseStore(store);
        EXPECT_EQ(ListedTitles(), (Titles{"kept", "new"}));
        continue;
      }
      ++failed;
      EXPECT_EQ(store->RecordAddress(), 0u);
      EXPECT_EQ(store->LastError(), gxWriteError) << "the failure stays pending for ReportError";
      EXPECT_FALSE(CloseStore(store));
      boxes_.shown.clear();
      EXPECT_EQ(ListedTitles(), Titles{"kept"});
      EXPECT_TRUE(boxes_.shown.empty()) << "no half-written record is listed";
      const Bytes after = ReadFileBytes(NotesPath());
      // Given back: a block that reached the file whole heads the free list;
      // a torn one lies past end_of_file, where the next add writes over it.
      const bool freed = WordAt(after, 0) == 845u && WordAt(after, 4) == 1650u;
      const bool pastTheEnd = WordAt(after, 0) == 0u && WordAt(after, 4) == 845u;
      EXPECT_TRUE(freed || pastTheEnd) << WordAt(after, 0) << " " << WordAt(after, 4);
      EXPECT_EQ(WordAt(after, 853) & 0xFF, 0x52u) << "marked removed either way";
      EXPECT_EQ(AddNotes({"again"}), std::vector<std::uint32_t>{873});
      EXPECT_EQ(ListedTitles(), (Titles{"kept", "again"}));
    }
  }
  EXPECT_EQ(failed, 4) << "the block's write and the header's, and both their flushes, failed once each";
}

TEST_F(RecordStoreTest, AFileWhoseEndOfFileLiesBeyondItsLengthTakesNoNewRecords) {
  AddNotes({"A"});
  Bytes disk = ReadFileBytes(NotesPath());
  disk[7] = 0x70;  // end_of_file far beyond the 845 bytes
  WriteFileBytes(NotesPath(), disk);
  auto store = OpenStore<DatabaseDataTextNote>(NotesPath());
  ASSERT_TRUE(store);
  EXPECT_EQ(store->AddRecord(), 0u);
  EXPECT_EQ(store->LastError(), gxFileCorrupt);
  store->Close();
  store.reset();
  EXPECT_EQ(ReadFileBytes(NotesPath()).size(), 845u);
}

TEST_F(RecordStoreTest, AFailedChangeReportsZeroAndKeepsTheBuffer) {
  AddNotes({"old"});
  auto store = OpenStore<DatabaseDataTextNote>(NotesPath());
  ASSERT_TRUE(store);
  store->ReadRecord(68);
  DatabaseDataTextNote changed{};
  CopyRecordText(changed.title, "new");
  gxInjectFault(gxFaultOp::Write, 1, true);
  EXPECT_EQ(store->ChangeRecord(changed), 0u);
  gxClearFaults();
  EXPECT_EQ(RecordTextOf(store->Data().title), "old");
  EXPECT_EQ(store->RecordAddress(), 68u);
  CloseStore(store);

  // A stale address (the block was deleted since it was read) is never
  // written over.
  AddNotes({"second"});
  store = OpenStore<DatabaseDataTextNote>(NotesPath());
  ASSERT_TRUE(store);
  store->ReadRecord(873);
  EXPECT_EQ(store->DeleteRecord(), 873u);
  const Bytes before = ReadFileBytes(NotesPath());
  EXPECT_EQ(store->ChangeRecord(changed), 0u);
  EXPECT_EQ(ReadFileBytes(NotesPath()), before);
  CloseStore(store);
}

TEST_F(RecordStoreTest, AFailedChangeWritesTheRecordAsReadBack) {
  AddNotes({"old", "other"});
  auto store = OpenStore<DatabaseDataTextNote>(NotesPath());
  ASSERT_TRUE(store);
  ASSERT_EQ(store->ReadRecord(68), RecordReadStatus::Ok);
  DatabaseDataTextNote changed{};
  CopyRecordText(changed.title, "a much longer new title");
  changed.noteType = 0;  // the notes were added urgent
  // One failing write leaves half of the new image on disk.
  gxInjectFault(gxFaultOp::Write, 1, false);
  EXPECT_EQ(store->ChangeRecord(changed), 0u);
  EXPECT_NE(store->LastError(), gxNoError);  // the failure stays the pending error
  gxClearFaults();
  store->ReportError();
  CloseStore(store);

  store = OpenStore<DatabaseDataTextNote>(NotesPath());
  ASSERT_TRUE(store);
  EXPECT_EQ(store->ReadRecord(68), RecordReadStatus::Ok);
  EXPECT_EQ(RecordTextOf(store->Data().title), "old");
  EXPECT_EQ(+store->Data().noteType, 1);
  // A buffer that a failed read left zeroed is never written back.
  gxInjectFault(gxFaultOp::Read, 1, false);
  EXPECT_EQ(store->ReadRecord(873), RecordReadStatus::ReadFailed);
  gxInjectFault(gxFaultOp::Write, 1, false);
  store->ChangeRecord(changed);
  gxClearFaults();
  CloseStore(store);
  store = OpenStore<DatabaseDataTextNote>(NotesPath());
  ASSERT_TRUE(store);
  store->ReadRecord(873);
  EXPECT_NE(RecordTextOf(store->Data().title), "");
  CloseStore(store);
}

TEST_F(RecordStoreTest, AFailedReadLeavesNoBytesOfTheRecordReadBefore) {
  AddNotes({"A", "B"});
  auto store = OpenStore<DatabaseDataTextNote>(NotesPath());
  ASSERT_TRUE(store);
  ASSERT_EQ(store->ReadRecord(68), RecordReadStatus::Ok);
  gxInjectFault(gxFaultOp::Read, 1, false);
  EXPECT_EQ(store->ReadRecord(873), RecordReadStatus::ReadFailed);
  gxClearFaults();
  EXPECT_EQ(RecordTextOf(store->Data().title), "");
  EXPECT_EQ(+store->Data().noteType, 0);
  EXPECT_EQ(store->RecordAddress(), 873u);
  EXPECT_EQ(boxes_.shown.size(), 1u);
  CloseStore(store);
}

TEST_F(RecordStoreTest, OpenStoreNeverTruncatesOrReplacesWhatExists) {
  // A file that is no database stays as it is and the store is not opened.
  const Bytes foreign = {'n', 'o', 't', ' ', 'a', ' ', 'd', 'b'};
  WriteFileBytes(NotesPath(), foreign);
  EXPECT_FALSE(OpenStore<DatabaseDataTextNote>(NotesPath()));
  EXPECT_EQ(ReadFileBytes(NotesPath()), foreign);

  // A folder at the path is not replaced by a file.
  std::filesystem::create_directory(PathOf("AudioNotes.qmt"));
  EXPECT_FALSE(OpenStore<DatabaseDataAudioNote>(PathOf("AudioNotes.qmt")));
  EXPECT_TRUE(std::filesystem::is_directory(PathOf("AudioNotes.qmt")));

  // A database whose open fails keeps its records.
  std::filesystem::remove(NotesPath());
  AddNotes({"precious"});
  const Bytes database = ReadFileBytes(NotesPath());
  gxInjectFault(gxFaultOp::Open, 1, false);
  EXPECT_FALSE(OpenStore<DatabaseDataTextNote>(NotesPath()));
  gxClearFaults();
  EXPECT_EQ(ReadFileBytes(NotesPath()), database);
  EXPECT_EQ(ListedTitles(), Titles{"precious"});
}

}  // namespace
}  // namespace qmrecords
