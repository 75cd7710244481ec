// qmdb salvage against every kind of damage the engine knows: a flipped
// record byte, a broken check word, a cyclic free list and a truncated tail.
// Each time the new file must hold exactly the intact records, the damaged
// file must stay byte-identical, and the report must name what was lost.
#include <string>
#include <vector>

#include "QmdbTestSupport.h"
#include "Salvage.h"

namespace qmrecords {
namespace {

// The text notes A, B, C, D of MakeNotes lie in blocks of 805 bytes from 40 on.
constexpr std::size_t kBlockB = 845, kBlockC = 1650, kBlockD = 2455;
constexpr std::size_t kTitle = 28 + 255;  // a record's title, from its block

class QmdbSalvageTest : public QmdbTest {
 protected:
  // The titles of a store file in file order.
  std::vector<std::string> Titles(const std::string& path) {
    std::vector<std::string> titles;
    auto store = OpenStore<DatabaseDataTextNote>(path);
    EXPECT_TRUE(store);
    if (!store) return titles;
    store->ForEachRecordOf(
        [&](const DatabaseDataTextNote& record, std::uint32_t) { titles.push_back(RecordTextOf(record.title)); });
    CloseStore(store);
    return titles;
  }

  struct Outcome {
    int status;
    std::string out, err;
    std::vector<std::string> kept;
  };

  // Salvages damaged (a TextNotes.qmt) into a fresh file and checks that the
  // damaged file was only read.
  Outcome Salvage(const std::string& damaged, const std::vector<std::string>& options = {}) {
    static int run = 0;
    const std::string repaired = PathOf("repaired" + std::to_string(++run) + ".qmt");
    const Bytes before = ReadFileBytes(damaged);
    std::vector<std::string> arguments{"salvage"};
    arguments.insert(arguments.end(), options.begin(), options.end());
    arguments.push_back(damaged);
    arguments.push_back(repaired);
    Outcome outcome;
    outcome.status = Run(arguments, "", outcome.out, outcome.err);
    EXPECT_EQ(ReadFileBytes(damaged), before) << "salvage never writes the damaged file";
    if (outcome.status != kExitFailure) {
      outcome.kept = Titles(repaired);
      std::string checkOut, checkErr;
      EXPECT_EQ(Run({"check", repaired}, "", checkOut, checkErr), kExitOk) << "the new file is clean: " << checkOut;
    }
    lastRepaired_ = repaired;
    return outcome;
  }

  std::string lastRepaired_;
};

using TitleList = std::vector<std::string>;

TEST_F(QmdbSalvageTest, AFlippedRecordByteSendsThatRecordToTheSideFileOnly) {
  const std::string notes = MakeNotes();
  Bytes bytes = ReadFileBytes(notes);
  bytes[kBlockB + kTitle + 1] = 'X';  // "B" becomes "BX": the CRC no longer matches
  WriteFileBytes(notes, bytes);

  std::string out, err;
  EXPECT_EQ(RunBinary("check " + Quoted(notes), "", out, err), 1);
  EXPECT_NE(err.find("qmdb salvage \"" + notes + "\" \"" + PathOf("TextNotes-repaired.qmt") + "\""),
            std::string::npos)
      << err;

  Outcome plain = Salvage(notes);
  EXPECT_EQ(plain.status, kExitDamaged) << plain.err;
  EXPECT_EQ(plain.kept, (TitleList{"A", "C", "D"}));
  const std::string side = DamagedRecordsPath(lastRepaired_);
  EXPECT_NE(plain.out.find("record at object 873 (\"BX\"): checksum mismatch; written to " + side),
            std::string::npos)
      << plain.out;
  EXPECT_NE(plain.out.find("3 intact, 1 damaged, 0 lost; 3 records written"), std::string::npos) << plain.out;
  std::vector<std::string> sideLines = Lines(ReadFileText(side));
  ASSERT_EQ(sideLines.size(), 1u);
  EXPECT_EQ(sideLines[0].find("{\"object_address\": 873, \"crc_ok\": false,"), 0u) << sideLines[0];
  EXPECT_NE(sideLines[0].find("\"title\": \"BX\""), std::string::npos);

  // The side file feeds add, as dump output does; --keep-damaged keeps it in place.
  std::string addOut, addErr;
  EXPECT_EQ(Run({"add", "--kind", "textnote", lastRepaired_}, sideLines[0] + "\n", addOut, addErr), kExitOk);
  EXPECT_EQ(Titles(lastRepaired_), (TitleList{"A", "C", "D", "BX"}));
  Outcome kept = Salvage(notes, {"--keep-damaged"});
  EXPECT_EQ(kept.status, kExitDamaged);
  EXPECT_EQ(kept.kept, (TitleList{"A", "BX", "C", "D"}));
}

TEST_F(QmdbSalvageTest, ABrokenCheckWordLosesNothingWhoseRecordStillChecks) {
  const std::string notes = MakeNotes();
  const Bytes clean = ReadFileBytes(notes);
  Bytes bytes = clean;
  bytes[kBlockB] = 0;  // B's check word
  WriteFileBytes(notes, bytes);
  Outcome recovered = Salvage(notes);
  EXPECT_EQ(recovered.status, kExitDamaged);
  EXPECT_EQ(recovered.kept, (TitleList{"A", "B", "C", "D"}));
  EXPECT_NE(recovered.out.find("record at object 873 (\"B\"): its block header was damaged, the record checks"),
            std::string::npos)
      << recovered.out;

  // Header and record both broken: B is gone, and the report says where.
  bytes[kBlockB + kTitle] = 'Q';
  WriteFileBytes(notes, bytes);
  Outcome lost = Salvage(notes);
  EXPECT_EQ(lost.status, kExitDamaged);
  EXPECT_EQ(lost.kept, (TitleList{"A", "C", "D"}));
  EXPECT_NE(lost.out.find("bytes 845 to 1650 hold no valid block"), std::string::npos) << lost.out;
  EXPECT_NE(lost.out.find("3 intact, 0 damaged, 1 lost"), std::string::npos) << lost.out;

  // A status word that is neither live nor deleted cannot be trusted either way.
  bytes = clean;
  bytes[kBlockC + 8] = 'Z';
  WriteFileBytes(notes, bytes);
  Outcome unknown = Salvage(notes);
  EXPECT_EQ(unknown.kept, (TitleList{"A", "B", "D"}));
  EXPECT_NE(unknown.out.find("block at 1650 has the unknown status 0x0000005A"), std::string::npos);
}

TEST_F(QmdbSalvageTest, ALengthThatJumpsOverBlocksIsDamageAndTheWalkResynchronisesInsideIt) {
  const std::string notes = MakeNotes();
  const Bytes clean = ReadFileBytes(notes);

  // B's length covers C too, and still leads to D's header: B and C are
  // intact, and both are saved.
  Patch(notes, kBlockB + 4, 2 * 805);
  Outcome live = Salvage(notes);
  EXPECT_EQ(live.status, kExitDamaged);
  EXPECT_EQ(live.kept, (TitleList{"A", "B", "C", "D"})) << live.out;
  EXPECT_NE(live.out.find("4 intact, 0 damaged, 0 lost"), std::string::npos) << live.out;

  // A deleted B whose length swallows C: C is found inside the jump, and
  // the deleted bytes whose length is wrong are named.
  WriteFileBytes(notes, clean);
  {
    auto store = OpenStore<DatabaseDataTextNote>(notes);
    ASSERT_TRUE(store);
    store->ReadRecord(873);
    ASSERT_EQ(store->DeleteRecord(), 873u);
    ASSERT_TRUE(CloseStore(store));
  }
  Patch(notes, kBlockB + 4, 2 * 805);
  Outcome freed = Salvage(notes);
  EXPECT_EQ(freed.kept, (TitleList{"A", "C", "D"})) << freed.out;
  EXPECT_EQ(freed.status, kExitDamaged) << freed.out;
  EXPECT_NE(freed.out.find("bytes 845 to 1650 hold no valid block"), std::string::npos) << freed.out;

  // Beyond a header's end_of_file that lost track of C and D, C's check word
  // is broken: the search for the next block goes on to the real end, and
  // the record of C that still checks is saved too.
  WriteFileBytes(notes, clean);
  Patch(notes, 4, static_cast<std::uint32_t>(kBlockC));
  Bytes tail = ReadFileBytes(notes);
  tail[kBlockC] = 0;
  WriteFileBytes(notes, tail);
  Outcome beyond = Salvage(notes);
  EXPECT_EQ(beyond.kept, (TitleList{"A", "B", "C", "D"})) << beyond.out;

  // Both C's header and record broken: every byte not saved is named.
  tail[kBlockC + kTitle] = 'Q';
  WriteFileBytes(notes, tail);
  Outcome named = Salvage(notes);
  EXPECT_EQ(named.kept, (TitleList{"A", "B", "D"})) << named.out;
  EXPECT_NE(named.out.find("bytes 1650 to 2455 hold no valid block"), std::string::npos) << named.out;
}

TEST_F(QmdbSalvageTest, ACyclicFreeListCostsNoRecordAndIsNotCarriedOver) {
  const std::string notes = MakeNotes();
  {
    auto store = OpenStore<DatabaseDataTextNote>(notes);
    ASSERT_TRUE(store);
    for (std::uint32_t address : {873u, 2483u}) {
      store->ReadRecord(address);
      ASSERT_EQ(store->DeleteRecord(), address);
    }
    ASSERT_TRUE(CloseStore(store));
  }
  Patch(notes, kBlockB + 12, kBlockD);  // B -> D -> B ...
  Outcome outcome = Salvage(notes);
  EXPECT_EQ(outcome.status, kExitOk) << outcome.out;
  EXPECT_EQ(outcome.kept, (TitleList{"A", "C"}));
  EXPECT_NE(outcome.out.find("2 deleted blocks left behind"), std::string::npos) << outcome.out;
  EXPECT_EQ(WordAt(ReadFileBytes(lastRepaired_), 0), 0u) << "an empty free-space list";
}

TEST_F(QmdbSalvageTest, ATruncatedTailLosesOnlyTheRecordItCuts) {
  const std::string notes = MakeNotes();
  Bytes bytes = ReadFileBytes(notes);
  bytes.resize(kBlockD + 400);
  WriteFileBytes(notes, bytes);
  Outcome outcome = Salvage(notes);
  EXPECT_EQ(outcome.status, kExitDamaged);
  EXPECT_EQ(outcome.kept, (TitleList{"A", "B", "C"}));
  EXPECT_NE(outcome.out.find("record at object 2483 is cut off by the end of the file; lost"), std::string::npos)
      << outcome.out;

  // Blocks the header lost track of (end_of_file too small) are still found.
  WriteFileBytes(notes, ReadFileBytes(lastRepaired_));
  Patch(notes, 4, static_cast<std::uint32_t>(kBlockC));
  EXPECT_EQ(Salvage(notes).kept, (TitleList{"A", "B", "C"}));
}

TEST_F(QmdbSalvageTest, SalvageNeverWritesOverAFileAndRefusesWhatIsNoDatabase) {
  const std::string notes = MakeNotes();
  const std::string taken = PathOf("taken.qmt");
  WriteFileBytes(taken, Bytes(7, 'x'));
  std::string out, err;
  EXPECT_EQ(Run({"salvage", notes, taken}, "", out, err), kExitFailure);
  EXPECT_NE(err.find("exists; salvage never writes over a file"), std::string::npos);
  EXPECT_EQ(ReadFileBytes(taken), Bytes(7, 'x'));

  WriteFileBytes(PathOf("side.damaged.jsonl"), Bytes(3, 'y'));
  EXPECT_EQ(Run({"salvage", notes, PathOf("side.qmt")}, "", out, err), kExitFailure);
  EXPECT_EQ(ReadFileBytes(PathOf("side.damaged.jsonl")), Bytes(3, 'y'));
  EXPECT_TRUE(ReadFileBytes(PathOf("side.qmt")).empty());

  const std::string foreign = PathOf("TextNotes-foreign.qmt");
  WriteFileBytes(foreign, Bytes(64, 'x'));
  EXPECT_EQ(Run({"salvage", "--kind", "textnote", foreign, PathOf("out.qmt")}, "", out, err), kExitFailure);
  EXPECT_NE(err.find("not a usable database"), std::string::npos) << err;
  EXPECT_TRUE(ReadFileBytes(PathOf("out.qmt")).empty());
  EXPECT_EQ(Run({"salvage", foreign, PathOf("out.qmt")}, "", out, err), kExitFailure) << "the kind is needed";
}

}  // namespace
}  // namespace qmrecords
