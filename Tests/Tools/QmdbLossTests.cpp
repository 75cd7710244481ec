// The ways qmdb itself could cost a user records: an import whose store
// fails for a reason that lasts (a full disk, a size limit) while it is put
// back, and records of one kind written into another kind's store.
#include <string>
#include <vector>

#include "OutputFolderPlatform.h"
#include "QmdbTestSupport.h"
#include "Records/FileSystemPlatform.h"

#ifdef _WIN32
#include <windows.h>

#include "Shell/SingleInstanceName.h"
#else
#include <csignal>
#include <sys/resource.h>
#endif

namespace qmrecords {
namespace {

class QmdbLossTest : public QmdbTest {
 protected:
  std::string Input(const std::string& name, const std::string& text) {
    const std::string path = PathOf(name);
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }

  static std::string Cards(int from, int count) {
    std::string text;
    for (int i = from; i < from + count; ++i)
      text += "BEGIN:VCARD\nFN:Person " + std::to_string(i) + "\nEMAIL:p" + std::to_string(i) +
              "@example.com\nEND:VCARD\n";
    return text;
  }
};

TEST_F(QmdbLossTest, RecordsOfOneKindNeverGoIntoAnotherKindsStore) {
  const std::string notes = MakeNotes();
  const std::string other = PathOf("other.qmt");
  WriteFileBytes(other, ReadFileBytes(notes));
  const Bytes before = ReadFileBytes(notes);
  std::string out, err;
  EXPECT_EQ(Run({"add", "--kind", "email", notes}, "{\"name\": \"Jo\", \"email\": \"jo@example.com\"}\n", out, err),
            kExitFailure);
  EXPECT_NE(err.find("block at 40 is 805 bytes long, not a block of kind email (2841); it holds another kind of "
                     "record, nothing added"),
            std::string::npos)
      << err;
  const std::string vcf = Input("jo.vcf", Cards(0, 1));
  EXPECT_EQ(Run({"import", "--kind", "email", vcf, notes}, "", out, err), kExitFailure);
  EXPECT_NE(err.find("it holds another kind of record, nothing imported"), std::string::npos) << err;
  EXPECT_EQ(Run({"import", vcf, other}, "", out, err), kExitFailure) << "the kind from the input: " << out;
  EXPECT_EQ(ReadFileBytes(notes), before);
  EXPECT_EQ(ReadFileBytes(other), before);

  // check knows the kind only when told; then every foreign block is named.
  EXPECT_EQ(Run({"check", notes}, "", out, err), kExitOk) << out;
  EXPECT_EQ(Run({"check", "--kind", "textnote", notes}, "", out, err), kExitOk) << out;
  EXPECT_EQ(Run({"check", "--kind", "email", notes}, "", out, err), kExitDamaged);
  for (const char* block : {"block at 40 ", "block at 845 ", "block at 1650 ", "block at 2455 "})
    EXPECT_NE(out.find(std::string(block) + "is 805 bytes long, not a block of kind email"), std::string::npos)
        << out;

  // The right kind still goes in, also into a store of its own that is empty.
  EXPECT_EQ(Run({"add", "--kind", "textnote", notes}, "{\"title\": \"E\"}\n", out, err), kExitOk) << err;
  EXPECT_EQ(Run({"import", vcf, PathOf("EmailRes.qmt")}, "", out, err), kExitOk) << err;
  EXPECT_EQ(Run({"import", Input("more.vcf", Cards(1, 1)), PathOf("EmailRes.qmt")}, "", out, err), kExitOk) << err;
}

#ifdef _WIN32
TEST_F(QmdbLossTest, AddAndImportWaitForTheProgramToEnd) {
  const std::string notes = MakeNotes();
  const Bytes before = ReadFileBytes(notes);
  const std::string vcf = Input("jo.vcf", Cards(0, 1));
  std::string out, err;
  {
    // What the running program holds from its first step to its end.
    HANDLE running = CreateMutexA(nullptr, FALSE, kSingleInstanceMutexName);
    ASSERT_NE(running, nullptr);
    EXPECT_EQ(Run({"add", notes}, "{\"title\": \"E\"}\n", out, err), kExitProgramRunning);
    EXPECT_NE(err.find("Quillmate is running; add changes nothing while it runs"), std::string::npos) << err;
    EXPECT_EQ(RunBinary("import " + Quoted(vcf) + " " + Quoted(PathOf("EmailRes.qmt")), "", out, err), 3);
    EXPECT_NE(err.find("End Quillmate (Exit in its tray menu)"), std::string::npos) << err;
    EXPECT_EQ(Run({"check", notes}, "", out, err), kExitOk) << "reading goes on";
    EXPECT_EQ(ReadFileBytes(notes), before);
    EXPECT_TRUE(PlatformPathIsAbsent(PathOf("EmailRes.qmt")));
    CloseHandle(running);
  }
  EXPECT_EQ(Run({"add", notes}, "{\"title\": \"E\"}\n", out, err), kExitOk) << err;
}
#endif

#ifndef _WIN32
// Runs the in-process import with the file size limited to limit bytes, as a
// full disk or a quota would cut it; the limit lasts for the restore too.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t limit) {
    getrlimit(RLIMIT_FSIZE, &m_saved);
    m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = m_saved;
    limited.rlim_cur = limit;
    setrlimit(RLIMIT_FSIZE, &limited);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &m_saved);
    std::signal(SIGXFSZ, m_oldHandler);
  }

 private:
  rlimit m_saved{};
  void (*m_oldHandler)(int) = nullptr;
};

TEST_F(QmdbLossTest, AnImportFailingAtASizeLimitNeverShortensTheStore) {
  const std::string store = PathOf("EmailRes.qmt");
  std::string out, err;
  ASSERT_EQ(Run({"import", Input("hundred.vcf", Cards(0, 100)), store}, "", out, err), 0) << err;
  const Bytes before = ReadFileBytes(store);
  ASSERT_EQ(before.size(), 40u + 100u * 2841u);
  const std::string more = Input("more.vcf", Cards(100, 5));

  // The store is already beyond the limit: the first append fails and the
  // engine leaves the file as it was. Rewriting it from the start would
  // stop at the limit (72 of 100 records).
  {
    FileSizeLimit limit(200 * 1024);
    EXPECT_EQ(Run({"import", more, store}, "", out, err), kExitFailure);
  }
  EXPECT_NE(err.find("nothing imported (the file is as it was)"), std::string::npos) << err;
  EXPECT_EQ(ReadFileBytes(store), before);

  // Room for two of the five: the two are written, the third fails, and
  // the original bytes go back in place without the file growing further.
  {
    FileSizeLimit limit(before.size() + 2 * 2841 + 100);
    EXPECT_EQ(Run({"import", more, store}, "", out, err), kExitFailure);
  }
  EXPECT_NE(err.find("nothing imported (the file is as it was)"), std::string::npos) << err;
  EXPECT_EQ(ReadFileBytes(store), before);
  EXPECT_EQ(Run({"check", store}, "", out, err), kExitOk) << out;

  // An import into a folder that does not exist creates nothing, and there
  // was nothing to restore.
  EXPECT_EQ(Run({"import", more, PathOf("nowhere/EmailRes.qmt")}, "", out, err), kExitFailure);
  EXPECT_NE(err.find("nothing imported (no file was left behind)"), std::string::npos) << err;
}

TEST_F(QmdbLossTest, AnExportOrSalvageCutShortByASizeLimitLeavesNoHalfFiles) {
  std::string out, err;
  ASSERT_EQ(Run({"add", PathOf("TextNotes.qmt")}, "{\"title\": \"Big\", \"file_name\": \"big.doc\"}\n", out, err), 0);
  ASSERT_TRUE(PlatformMakeFolder(PathOf("TextNotes")));
  std::ofstream(PathOf("TextNotes/big.doc"), std::ios::binary) << std::string(300 * 1024, 'x');
  {
    FileSizeLimit limit(200 * 1024);
    EXPECT_EQ(Run({"export", folder_.Path().string(), PathOf("export")}, "", out, err), kExitDamaged);
  }
  EXPECT_NE(err.find("cannot write"), std::string::npos) << err;
  EXPECT_TRUE(PlatformPathIsAbsent(PathOf("export/TextNotes/Big.rtf"))) << "the part copied is removed";
  EXPECT_NE(ReadFileText(PathOf("export/index.jsonl")).find("\"file\": null"), std::string::npos);

  // Twenty records whose checksums fail: their side file does not fit.
  const std::string damaged = PathOf("Damaged.qmt");
  std::string lines;
  for (int i = 0; i < 20; ++i) lines += "{\"title\": \"" + std::string(250, 'a' + i) + "\"}\n";
  ASSERT_EQ(Run({"add", "--kind", "textnote", damaged}, lines, out, err), 0) << err;
  Bytes bytes = ReadFileBytes(damaged);
  for (std::size_t block = 40; block < bytes.size(); block += 805) bytes[block + 28 + 255] ^= 1;
  WriteFileBytes(damaged, bytes);
  {
    FileSizeLimit limit(3000);
    EXPECT_EQ(Run({"salvage", "--kind", "textnote", damaged, PathOf("Repaired.qmt")}, "", out, err), kExitFailure);
  }
  EXPECT_NE(err.find("nothing written"), std::string::npos) << err;
  EXPECT_TRUE(PlatformPathIsAbsent(PathOf("Repaired.qmt")));
  EXPECT_TRUE(PlatformPathIsAbsent(PathOf("Repaired.damaged.jsonl")));
}
#endif

}  // namespace
}  // namespace qmrecords
