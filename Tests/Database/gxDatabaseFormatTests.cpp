// The bytes the engine puts on disk: empty file, first record, free-list
// reuse, splitting, the abandoned list and the heap walk over damage.
#include "DatabaseTestSupport.h"

namespace qmtest {
namespace {

constexpr std::uint32_t kTextNoteLength = 773;
constexpr std::uint32_t kTextNoteBlock = 805;

class DatabaseFormat : public DatabaseTest {};

TEST_F(DatabaseFormat, Crc32IsZlibs) {
  const char digits[] = "123456789";
  EXPECT_EQ(gxCrc32(digits, 9), 0xCBF43926u);
  EXPECT_EQ(gxCrc32(digits + 4, 5, gxCrc32(digits, 4)), 0xCBF43926u);  // continued running CRC
  EXPECT_EQ(gxCrc32(nullptr, 0), 0u);
}

TEST_F(DatabaseFormat, Crc32OfEveryLengthAndAlignmentIsTheBitwiseDefinition) {
  // The folding path takes whole 16-byte pieces from 64 bytes on (from 128 on
  // with 256-bit registers), the rest goes byte-wise: every split between
  // them, at every alignment, continued.
  const auto bitwise = [](const unsigned char* bytes, std::size_t length, std::uint32_t crc) {
    crc = ~crc;
    for (std::size_t i = 0; i < length; ++i) {
      crc ^= bytes[i];
      for (int bit = 0; bit < 8; ++bit) crc = (crc & 1u) ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
    }
    return ~crc;
  };
  Bytes data(4200);
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<unsigned char>((i * 131 + 7) ^ (i >> 5));
  for (std::size_t length = 0; length <= 300; ++length) {
    for (std::size_t offset = 0; offset < 16; offset += 5) {
      const std::uint32_t seed = static_cast<std::uint32_t>(length * 2654435761u);
      ASSERT_EQ(gxCrc32(data.data() + offset, length, seed), bitwise(data.data() + offset, length, seed))
          << "length " << length << ", offset " << offset;
    }
  }
  for (std::size_t length : {773u, 1024u, 2809u, 4096u, 4199u})
    EXPECT_EQ(gxCrc32(data.data() + 1, length), bitwise(data.data() + 1, length, 0)) << length;
}

TEST_F(DatabaseFormat, NewFileIsTheFortyByteEmptyImage) {
  const std::string path = PathOf("empty.qmt");
  {
    gxDatabase db;
    ASSERT_EQ(db.Create(path.c_str()), 0);
    EXPECT_EQ(db.FileHeaderSize(), 40u);
    EXPECT_EQ(db.BlockHeaderSize(), 28u);
    EXPECT_EQ(db.NextBlock(0), 0u);  // empty heap
    EXPECT_EQ(db.Close(), 0);
    EXPECT_STREQ(db.FileName(), "closed.gxd");
  }
  const Bytes expected = {0x00, 0x00, 0x00, 0x00, 0x28, 0x00, 0x00, 0x00, 0x28, 0x00, 0x00, 0x00, 0x00, 0x00,
                          0x00, 0x00, 'G',  'X',  'D',  'B',  'A',  'S',  'E',  'C',  0xA0, 0x0F, 0x00, 0x00,
                          0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0};
  EXPECT_EQ(ReadFileBytes(path), expected);
  EXPECT_TRUE(gxFileExists(path.c_str()));
  EXPECT_FALSE(gxFileExists(PathOf("missing.qmt").c_str()));
}

TEST_F(DatabaseFormat, RevisionLetterDecidesHeaderSizesAndStaticArea) {
  struct Case {
    char given, stored;
    std::uint32_t fileHeader, blockHeader;
    bool checksums;
  };
  const Case cases[] = {{' ', 0x00, 28, 16, false},
                        {'a', 'A', 28, 16, true},
                        {'b', 'B', 40, 16, true},
                        {'c', 'C', 40, 28, true},
                        {'x', 'C', 40, 28, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("revision ") + c.given);
    const std::string path = PathOf(std::string("rev") + std::to_string(static_cast<int>(c.given)) + ".qmt");
    gxDatabase db;
    ASSERT_EQ(db.Create(path.c_str(), 10, c.given), 0);
    EXPECT_EQ(db.RevisionLetter(), c.stored);
    EXPECT_EQ(db.FileHeaderSize(), c.fileHeader);
    EXPECT_EQ(db.BlockHeaderSize(), c.blockHeader);
    EXPECT_EQ(db.Header().heap_start, c.fileHeader + 10);
    const std::uint32_t object = db.Allocate(20);
    EXPECT_EQ(object, c.fileHeader + 10 + c.blockHeader);
    EXPECT_EQ(db.Header().end_of_file, c.fileHeader + 10 + c.blockHeader + 20 + (c.checksums ? 4 : 0));
    EXPECT_EQ(db.StoreChecksum(object) != 0, c.checksums);
    EXPECT_TRUE(db.VerifyChecksum(object));
    ASSERT_EQ(db.Close(), 0);
    const Bytes bytes = ReadFileBytes(path);
    EXPECT_EQ(bytes.at(23), static_cast<unsigned char>(c.stored));
    EXPECT_EQ(bytes.at(c.fileHeader + 9), 0);  // the byte that fixes the static area's end
  }
}

TEST_F(DatabaseFormat, FirstTextNoteLandsAtSixtyEightWithItsCrcBehind) {
  const std::string path = PathOf("notes.qmt");
  const Bytes record = SampleRecord(kTextNoteLength, 3);
  std::uint32_t crc = 0;
  {
    gxDatabase db;
    ASSERT_EQ(db.Create(path.c_str()), 0);
    const std::uint32_t address = db.Allocate(kTextNoteLength);
    ASSERT_EQ(address, 68u);
    ASSERT_EQ(db.WriteAt(record.data(), kTextNoteLength, address, true, true), 0);
    crc = db.StoreChecksum(address);
    EXPECT_EQ(crc, gxCrc32(record.data(), record.size()));
    EXPECT_EQ(db.Header().end_of_file, 845u);
    EXPECT_EQ(db.Header().highest_block, 40u);
    EXPECT_EQ(db.NextBlock(0), 40u);
    EXPECT_EQ(db.NextBlock(40 + kTextNoteBlock), 0u);
    ASSERT_EQ(db.Close(), 0);
  }
  const Bytes bytes = ReadFileBytes(path);
  ASSERT_EQ(bytes.size(), 845u);
  EXPECT_EQ(WordAt(bytes, 4), 845u);
  EXPECT_EQ(WordAt(bytes, 12), 40u);
  const Bytes blockHeader = {0xFE, 0xFE, 0, 0, 0x25, 0x03, 0, 0, 0x4E, 0, 0, 0, 0, 0,
                             0,    0,    0, 0, 0,    0,    0, 0, 0,    0, 0, 0, 0, 0};
  EXPECT_EQ(Bytes(bytes.begin() + 40, bytes.begin() + 68), blockHeader);
  EXPECT_EQ(Bytes(bytes.begin() + 68, bytes.begin() + 841), record);
  EXPECT_EQ(WordAt(bytes, 841), crc);
}

TEST_F(DatabaseFormat, EngineWritesTheSameBytesAsTheIndependentCorpusGenerator) {
  // MakeFuzzCorpus.py builds its images from the format alone, not through the engine.
  const std::string path = PathOf("generated.qmt");
  {
    gxDatabase db;
    ASSERT_EQ(db.Create(path.c_str()), 0);
    ASSERT_EQ(AddObject(db, SampleRecord(kTextNoteLength, 1)), 68u);
  }
  const Bytes generated = ReadFileBytes(std::string(QM_FUZZ_CORPUS_DIR) + "/one-text-note.qmt");
  ASSERT_EQ(generated.size(), 845u);
  EXPECT_EQ(ReadFileBytes(path), generated);
}

TEST_F(DatabaseFormat, FreedBlockIsRemovedOnceAndReusedByTheNextRecord) {
  const std::string path = PathOf("reuse.qmt");
  gxDatabase db;
  ASSERT_EQ(db.Create(path.c_str()), 0);
  ASSERT_EQ(AddObject(db, SampleRecord(kTextNoteLength, 1)), 68u);

  EXPECT_EQ(db.FreeBlock(68), 1);
  Bytes bytes = ReadFileBytes(path);
  EXPECT_EQ(bytes.size(), 845u);
  EXPECT_EQ(WordAt(bytes, 0), 40u);                   // head of the free list
  EXPECT_EQ(WordAt(bytes, 40 + 8), gxStatusRemoved);  // 'R'
  EXPECT_EQ(WordAt(bytes, 40 + 12), 0u);              // end of the list

  EXPECT_EQ(db.FreeBlock(68), 0);  // freeing twice does nothing
  EXPECT_EQ(ReadFileBytes(path), bytes);

  const Bytes second = SampleRecord(kTextNoteLength, 9);
  EXPECT_EQ(AddObject(db, second), 68u);
  bytes = ReadFileBytes(path);
  EXPECT_EQ(bytes.size(), 845u);
  EXPECT_EQ(WordAt(bytes, 0), 0u);
  EXPECT_EQ(WordAt(bytes, 40 + 8), gxStatusUsed);
  EXPECT_TRUE(db.VerifyChecksum(68));

  // Without the remove flag the status becomes 'D'; method 0 never reuses.
  EXPECT_EQ(db.FreeBlock(68, false), 1);
  EXPECT_EQ(WordAt(ReadFileBytes(path), 40 + 8), gxStatusDeleted);
  EXPECT_EQ(db.Allocate(kTextNoteLength, 0), 845u + 28u);
  EXPECT_EQ(db.Header().free_space, 40u);
}

TEST_F(DatabaseFormat, FreeBlockSplitsOnlyWhenLongerThanHeaderPlusChecksum) {
  const std::string path = PathOf("split.qmt");
  gxDatabase db;
  ASSERT_EQ(db.Create(path.c_str()), 0);
  ASSERT_EQ(AddObject(db, SampleRecord(kTextNoteLength, 1)), 68u);
  ASSERT_EQ(AddObject(db, SampleRecord(kTextNoteLength, 2)), 68u + kTextNoteBlock);
  ASSERT_EQ(db.FreeBlock(68), 1);

  // Exactly 32 bytes too long: skipped, the request is appended.
  const std::uint32_t appended = db.Allocate(kTextNoteLength - 32);
  EXPECT_EQ(appended, 40u + 2 * kTextNoteBlock + 28u);
  EXPECT_EQ(db.Header().free_space, 40u);

  // 33 bytes too long: split; the tail becomes a 33-byte 'R' block heading the list.
  const std::uint32_t split = db.Allocate(kTextNoteLength - 33);
  EXPECT_EQ(split, 68u);
  const std::uint32_t remainder = 40u + kTextNoteBlock - 33;
  EXPECT_EQ(db.Header().free_space, remainder);
  const Bytes bytes = ReadFileBytes(path);
  EXPECT_EQ(WordAt(bytes, 0), remainder);
  EXPECT_EQ(WordAt(bytes, 40 + 4), kTextNoteBlock - 33);
  EXPECT_EQ(WordAt(bytes, 40 + 8), gxStatusUsed);
  EXPECT_EQ(WordAt(bytes, remainder), gxCheckWord);
  EXPECT_EQ(WordAt(bytes, remainder + 4), 33u);
  EXPECT_EQ(WordAt(bytes, remainder + 8), gxStatusRemoved);
  EXPECT_EQ(WordAt(bytes, remainder + 12), 0u);

  // The heap walk now sees the split block, the remainder, and the others.
  std::vector<std::uint32_t> blocks;
  for (std::uint32_t at = db.NextBlock(0); at != 0;) {
    blocks.push_back(at);
    gxBlockHeader header;
    ASSERT_TRUE(db.ReadBlockHeader(at, header));
    at = db.NextBlock(at + header.block_length);
  }
  EXPECT_EQ(blocks,
            (std::vector<std::uint32_t>{40u, remainder, 40u + kTextNoteBlock, 40u + 2 * kTextNoteBlock}));
}

TEST_F(DatabaseFormat, SplitRemainderInTheMiddleOfTheListRelinksThePreviousBlock) {
  const std::string path = PathOf("middle.qmt");
  gxDatabase db;
  ASSERT_EQ(db.Create(path.c_str()), 0);
  const std::uint32_t small = AddObject(db, SampleRecord(100, 1));  // block 40, length 132
  const std::uint32_t large = AddObject(db, SampleRecord(500, 2));  // block 172, length 532
  ASSERT_EQ(small, 68u);
  ASSERT_EQ(large, 200u);
  ASSERT_EQ(db.FreeBlock(large), 1);
  ASSERT_EQ(db.FreeBlock(small), 1);  // list: 40 -> 172 -> 0
  EXPECT_EQ(db.Allocate(200), 200u);  // 40 is too small; 172 is split at 172 + 232
  EXPECT_EQ(db.Header().free_space, 40u);
  const Bytes bytes = ReadFileBytes(path);
  EXPECT_EQ(WordAt(bytes, 40 + 12), 172u + 232u);
  EXPECT_EQ(WordAt(bytes, 172 + 232 + 4), 532u - 232u);
  EXPECT_EQ(db.Allocate(100), 68u);  // exact fit at the head
  EXPECT_EQ(db.Header().free_space, 172u + 232u);
}

TEST_F(DatabaseFormat, DamagedFreeListIsAbandonedAndAllocationAppendsFromThenOn) {
  struct Damage {
    const char* name;
    std::size_t offset;
    std::uint32_t value;
  };
  // Block 40 is the only list member; each case breaks it in one way.
  const Damage damages[] = {{"self-pointing", 40 + 12, 40},
                            {"status in use", 40 + 8, gxStatusUsed},
                            {"broken check word", 40, 0x0000FEFFu},
                            {"length beyond the heap", 40 + 4, 100000}};
  for (const Damage& damage : damages) {
    SCOPED_TRACE(damage.name);
    const std::string path = PathOf(std::string("abandon-") + std::to_string(damage.offset) + ".qmt");
    gxDatabase db;
    ASSERT_EQ(db.Create(path.c_str()), 0);
    ASSERT_EQ(AddObject(db, SampleRecord(kTextNoteLength, 1)), 68u);
    ASSERT_EQ(AddObject(db, SampleRecord(kTextNoteLength, 2)), 68u + kTextNoteBlock);
    ASSERT_EQ(db.FreeBlock(68), 1);
    ASSERT_EQ(db.Close(), 0);
    PatchWord(path, damage.offset, damage.value);

    ASSERT_EQ(db.Open(path.c_str()), 0);
    EXPECT_EQ(db.Allocate(kTextNoteLength), 40u + 2 * kTextNoteBlock + 28u);
    EXPECT_EQ(WordAt(ReadFileBytes(path), 0), gxAbandonedList);
    EXPECT_EQ(db.Allocate(kTextNoteLength), 40u + 3 * kTextNoteBlock + 28u);

    // Freeing now marks 'R' with 0xFFFFFFFF and links nothing; the head stays abandoned.
    EXPECT_EQ(db.FreeBlock(68u + kTextNoteBlock), 1);
    const Bytes bytes = ReadFileBytes(path);
    EXPECT_EQ(WordAt(bytes, 40 + kTextNoteBlock + 8), gxStatusRemoved);
    EXPECT_EQ(WordAt(bytes, 40 + kTextNoteBlock + 12), gxAbandonedList);
    EXPECT_EQ(WordAt(bytes, 0), gxAbandonedList);
    EXPECT_EQ(db.Allocate(kTextNoteLength), 40u + 4 * kTextNoteBlock + 28u);
    ASSERT_EQ(db.Close(), 0);
  }
}

TEST_F(DatabaseFormat, CyclicFreeListEndsTheSearchAndIsAbandoned) {
  const std::string path = PathOf("cycle.qmt");
  gxDatabase db;
  ASSERT_EQ(db.Create(path.c_str()), 0);
  for (unsigned char i = 0; i < 3; ++i) ASSERT_NE(AddObject(db, SampleRecord(kTextNoteLength, i)), 0u);
  ASSERT_EQ(db.FreeBlock(68), 1);
  ASSERT_EQ(db.FreeBlock(68 + kTextNoteBlock), 1);  // list: 845 -> 40 -> 0
  ASSERT_EQ(db.Close(), 0);
  PatchWord(path, 40 + 12, 40 + kTextNoteBlock);  // 40 -> 845: a two-block cycle

  ASSERT_EQ(db.Open(path.c_str()), 0);
  const std::uint32_t end = db.Header().end_of_file;
  EXPECT_EQ(db.Allocate(2000), end + 28);  // fits no member, so only the bound ends the walk
  EXPECT_EQ(db.Header().free_space, gxAbandonedList);
  EXPECT_EQ(WordAt(ReadFileBytes(path), 0), gxAbandonedList);
}

TEST_F(DatabaseFormat, HeapWalkResynchronisesAfterABrokenCheckWord) {
  const std::string path = PathOf("walk.qmt");
  gxDatabase db;
  ASSERT_EQ(db.Create(path.c_str()), 0);
  for (unsigned char i = 0; i < 3; ++i) ASSERT_NE(AddObject(db, SampleRecord(kTextNoteLength, 0)), 0u);
  ASSERT_EQ(db.Close(), 0);
  PatchWord(path, 40 + kTextNoteBlock, 0x0000FFFEu);

  ASSERT_EQ(db.Open(path.c_str(), 0), 0);
  std::vector<std::uint32_t> blocks;
  for (std::uint32_t at = db.NextBlock(0); at != 0;) {
    blocks.push_back(at);
    gxBlockHeader header;
    ASSERT_TRUE(db.ReadBlockHeader(at, header));
    at = db.NextBlock(at + header.block_length);
  }
  EXPECT_EQ(blocks, (std::vector<std::uint32_t>{40u, 40u + 2 * kTextNoteBlock}));
  EXPECT_EQ(db.NextBlock(40 + kTextNoteBlock), 40u + 2 * kTextNoteBlock);
  EXPECT_EQ(db.Position(), 40u + 2 * kTextNoteBlock);  // NextBlock leaves the stream at the block found
  EXPECT_EQ(db.FreeBlock(68 + kTextNoteBlock), 0);
  EXPECT_EQ(db.LastError(), 40);
  EXPECT_EQ(db.NextBlock(db.Header().end_of_file), 0u);
}

TEST_F(DatabaseFormat, HeapWalkSeesChangesMadeThroughAnotherObject) {
  const std::string path = PathOf("shared.qmt");
  gxDatabase reader;
  gxDatabase writer;
  ASSERT_EQ(writer.Create(path.c_str()), 0);
  ASSERT_EQ(reader.Open(path.c_str(), 0), 0);
  EXPECT_EQ(reader.NextBlock(0), 0u);
  ASSERT_EQ(AddObject(writer, SampleRecord(kTextNoteLength, 5)), 68u);
  EXPECT_EQ(reader.CurrentEndOfFile(), 845u);
  EXPECT_EQ(reader.NextBlock(0), 40u);
  EXPECT_TRUE(reader.VerifyChecksum(68));
}

}  // namespace
}  // namespace qmtest
