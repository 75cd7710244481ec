// Two processes writing one store at once (StoreWriterProcess.cpp, started
// twice): natively, and as two Windows processes under Wine. Each adds and
// deletes notes in actions of their own; the writer lock must keep either
// from appending or linking over the other's work.
#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "Records/DatabaseObject.h"
#include "Records/RecordText.h"
#include "RecordsTestSupport.h"
#include "Support/ChildProcess.h"
#include "Support/ReachablePath.h"

namespace qmrecords {
namespace {

struct WriterResult {
  int added = -1, deleted = -1, refused = -1, other = -1;
  std::vector<std::string> stored;
};

WriterResult ReadResult(const std::string& path) {
  WriterResult result;
  std::ifstream in(path);
  std::string line;
  if (std::getline(in, line)) {
    std::istringstream counts(line);
    std::string word;
    counts >> word >> result.added >> word >> result.deleted >> word >> result.refused >> word >>
        result.other;
  }
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    result.stored.push_back(line);
  }
  return result;
}

class ConcurrentWriters : public RecordsTest {};

TEST_F(ConcurrentWriters, TwoProcessesAddingAndDeletingInOneStoreLoseNothingAndOverwriteNothing) {
  const std::string store = PathOf("TextNotes.qmt");
  {
    auto created = OpenStore<DatabaseDataTextNote>(store);
    ASSERT_TRUE(created);
    ASSERT_TRUE(CloseStore(created));
  }
  const std::string writer = qmtest::ReachablePath(QM_STORE_WRITER);
  const std::string count = "300";
  qmtest::ChildProcess first(writer, {store, "A", count, PathOf("a.txt")});
  qmtest::ChildProcess second(writer, {store, "B", count, PathOf("b.txt")});
  ASSERT_TRUE(first.Started());
  ASSERT_TRUE(second.Started());
  EXPECT_EQ(first.Wait(300), 0);
  EXPECT_EQ(second.Wait(300), 0);
  const WriterResult a = ReadResult(PathOf("a.txt"));
  const WriterResult b = ReadResult(PathOf("b.txt"));
  EXPECT_EQ(a.other, 0);
  EXPECT_EQ(b.other, 0);
  // Refusals are allowed (the lock's wait is bounded), but most actions land.
  EXPECT_GT(a.added, 200);
  EXPECT_GT(b.added, 200);
  EXPECT_GT(a.deleted, 0);
  EXPECT_GT(b.deleted, 0);

  // Exactly the notes the writers left, each once and intact.
  std::vector<std::string> expected = a.stored;
  expected.insert(expected.end(), b.stored.begin(), b.stored.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(expected.size(), static_cast<std::size_t>(a.added - a.deleted + b.added - b.deleted));
  std::vector<std::string> found;
  auto reader = OpenStore<DatabaseDataTextNote>(store);
  ASSERT_TRUE(reader);
  reader->ForEachRecordOf([&found](const DatabaseDataTextNote& note, std::uint32_t) {
    found.push_back(RecordTextOf(note.title));
  });
  std::sort(found.begin(), found.end());
  EXPECT_EQ(found, expected);
  EXPECT_TRUE(boxes_.shown.empty());  // no CRC warning

  // The blocks tile the heap up to end_of_file, which is the file's length:
  // no append landed over another or beyond what the header claims.
  const std::uint32_t end = reader->CurrentEndOfFile();
  std::uint32_t address = reader->Header().heap_start;
  while (address < end) {
    gxBlockHeader header{};
    ASSERT_TRUE(reader->ReadBlockHeader(address, header));
    ASSERT_EQ(header.check_word, gxCheckWord) << "at " << address;
    ASSERT_EQ(header.block_length, 805u) << "at " << address;
    address += header.block_length;
  }
  EXPECT_EQ(address, end);
  CloseStore(reader);
  EXPECT_EQ(ReadFileBytes(store).size(), end);
}

}  // namespace
}  // namespace qmrecords
