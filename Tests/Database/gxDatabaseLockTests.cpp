// Two writers on one file through two objects of one process: the writer
// lock belongs to the open file, so they exclude each other as two processes
// do (the two-process runs are in Tests/Records/ConcurrentWriterTests.cpp).
#include <chrono>

#include "DatabaseTestSupport.h"

namespace qmtest {
namespace {

class DatabaseLock : public DatabaseTest {};

TEST_F(DatabaseLock, ASecondWriterWaitsForTheFirstFailsCleanlyAndThenAppendsAfterIt) {
  const std::string path = PathOf("two.qmt");
  gxDatabase first;
  ASSERT_EQ(first.Create(path.c_str()), 0);
  gxDatabase second;
  ASSERT_EQ(second.Open(path.c_str()), 0);  // sees the empty heap
  gxDatabase reader;
  ASSERT_EQ(reader.Open(path.c_str(), 0), 0);

  ASSERT_EQ(first.BeginWriteAction(), 0);
  ASSERT_EQ(AddObject(first, SampleRecord(773, 1)), 68u);
  const Bytes during = ReadFileBytes(path);

  // The second writer cannot have the lock: every writing operation fails
  // with 45 after a bounded wait, and writes nothing.
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(second.Allocate(773), 0u);
  EXPECT_EQ(second.LastError(), gxFileLockError);
  const double waited = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_GE(waited, 0.5);
  EXPECT_LT(waited, 10.0);
  const unsigned char bytes[4] = {1, 2, 3, 4};
  EXPECT_EQ(second.WriteAt(bytes, 4, 100), gxFileLockError);
  EXPECT_EQ(second.FreeBlock(68), 0);
  EXPECT_EQ(second.LastError(), gxFileLockError);
  EXPECT_EQ(second.Flush(), gxFileLockError);
  EXPECT_EQ(ReadFileBytes(path), during);
  // Readers take no lock.
  EXPECT_EQ(reader.NextBlock(0), 40u);
  EXPECT_TRUE(reader.VerifyChecksum(68));

  // Nested actions hold the one lock; it goes with the outermost.
  ASSERT_EQ(first.BeginWriteAction(), 0);
  first.EndWriteAction();
  EXPECT_EQ(second.Allocate(773), 0u);
  first.EndWriteAction();

  // Once the first is done, the second works from the header the first left:
  // it appends behind the first record instead of over it, and its close
  // writes that header back, not the one it opened with.
  const std::uint32_t appended = AddObject(second, SampleRecord(773, 2));
  EXPECT_EQ(appended, 68u + 805u);
  EXPECT_EQ(second.FreeBlock(68), 1);
  ASSERT_EQ(first.Close(), 0);
  ASSERT_EQ(second.Close(), 0);

  gxDatabase check;
  ASSERT_EQ(check.Open(path.c_str()), 0);
  EXPECT_EQ(check.Header().end_of_file, 40u + 2 * 805u);
  EXPECT_EQ(check.Header().free_space, 40u);
  EXPECT_EQ(check.NextBlock(0), 40u);
  EXPECT_TRUE(check.VerifyChecksum(appended));
  Bytes object(773);
  ASSERT_EQ(check.ReadAt(object.data(), 773, appended), 0);
  EXPECT_EQ(object, SampleRecord(773, 2));
  // The block the second writer freed is reused first.
  EXPECT_EQ(check.Allocate(773), 68u);
  ASSERT_EQ(check.Close(), 0);
}

}  // namespace
}  // namespace qmtest
