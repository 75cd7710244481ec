// CFile under Wine against real files: the open-flag combinations the
// program uses, the exceptions with their platform codes, and the calls that
// must not reach the platform at all.
#include "Library/CFile.h"

#include <gtest/gtest.h>

#include "Library/CReplacingFile.h"
#include "Support/ImportHook.h"
#include "Support/ScratchFolder.h"

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

class CFileTest : public ::testing::Test {
 protected:
  std::string PathOf(const char* name) const { return m_folder.PathOf(name); }

  void WriteFileWith(const std::string& path, const std::string& content) {
    CFile file;
    file.Open(path.c_str(), CFile::kCreateAlways | CFile::kWrite);
    file.Write(content.data(), static_cast<unsigned long>(content.size()));
    file.Close();
  }

  static unsigned long CodeOfOpen(const std::string& path, unsigned flags, CString* message = nullptr) {
    CFile file;
    try {
      file.Open(path.c_str(), flags);
    } catch (const CFileException& failure) {
      if (message) *message = failure.GetErrorText();
      return failure.GetErrorCode();
    }
    return 0;
  }

  qmtest::ScratchFolder m_folder{"qm-cfile"};
};

TEST_F(CFileTest, OpeningAMissingFileForReadingThrowsFileNotFound) {
  CString message;
  EXPECT_EQ(static_cast<unsigned long>(ERROR_FILE_NOT_FOUND),
            CodeOfOpen(PathOf("missing.txt"), 0x08, &message));
  CString systemText;
  systemText.FormatSystemError(ERROR_FILE_NOT_FOUND);
  EXPECT_GT(message.GetLength(), 0);
  EXPECT_STREQ(systemText, message);

  CFile file;
  EXPECT_THROW(file.Open(PathOf("missing.txt").c_str(), 0x48), CFileException);
  EXPECT_FALSE(file.IsOpen());
}

TEST_F(CFileTest, CreatingANewFileFailsWhenItExists) {
  std::string path = PathOf("exists.txt");
  EXPECT_EQ(0u, CodeOfOpen(path, 0x11)) << "0x11 creates a file that does not exist";
  EXPECT_EQ(static_cast<unsigned long>(ERROR_FILE_EXISTS), CodeOfOpen(path, 0x11));
}

TEST_F(CFileTest, WrittenBytesReadBackAndZeroCountsTouchNothing) {
  std::string path = PathOf("data.txt");
  {
    CFile file;
    file.Open(path.c_str(), 0x11);
    EXPECT_EQ(5u, file.Write("hello", 5));
    EXPECT_EQ(0u, file.Read(nullptr, 0)) << "a 0-byte read of a write-only file makes no platform call";
  }
  CFile file;
  file.Open(path.c_str(), 0x08);
  EXPECT_EQ(5u, file.GetLength());
  char buffer[8] = {};
  EXPECT_EQ(2u, file.Read(buffer, 2));
  EXPECT_EQ(0u, file.Read(buffer, 0));
  EXPECT_EQ(0u, file.Write("xyz", 0)) << "a 0-byte write of a read-only file makes no platform call";
  EXPECT_EQ(2u, file.Seek(0, FILE_CURRENT)) << "the position did not move";
  EXPECT_EQ(3u, file.Read(buffer + 2, 6));
  EXPECT_STREQ("hello", buffer);
  EXPECT_EQ(0u, file.Read(buffer, 4)) << "reading at the end gives 0 bytes";

  // A real write through a read-only handle fails with the platform's code.
  try {
    file.Write("x", 1);
    ADD_FAILURE() << "writing a read-only handle must throw";
  } catch (const CFileException& failure) {
    EXPECT_EQ(static_cast<unsigned long>(ERROR_ACCESS_DENIED), failure.GetErrorCode());
  }
}

TEST_F(CFileTest, CreateAlwaysReplacesAndOpenAlwaysAppends) {
  std::string path = PathOf("grow.txt");
  WriteFileWith(path, "first");
  WriteFileWith(path, "ab");
  {
    CFile file;
    file.Open(path.c_str(), CFile::kOpenAlways | CFile::kWrite);
    EXPECT_EQ(2u, file.Seek(0, FILE_CURRENT)) << "opening with 0x04 positions at the end";
    file.Write("cd", 2);
  }
  CFile file;
  file.Open(path.c_str(), 0x08);
  char buffer[8] = {};
  file.Read(buffer, sizeof buffer - 1);
  EXPECT_STREQ("abcd", buffer);
  unsigned long high = 99;
  EXPECT_EQ(4u, file.GetLength(&high));
  EXPECT_EQ(0u, high);
  EXPECT_EQ(4u, file.SeekToEnd());
}

TEST_F(CFileTest, SharingFlagsDecideWhetherASecondOpenSucceeds) {
  std::string path = PathOf("shared.txt");
  WriteFileWith(path, "text");
  {
    CFile reader;
    reader.Open(path.c_str(), 0x48);
    EXPECT_EQ(0u, CodeOfOpen(path, 0x48)) << "both let others read";
    EXPECT_EQ(static_cast<unsigned long>(ERROR_SHARING_VIOLATION), CodeOfOpen(path, 0x08))
        << "0x08 shares nothing, so it cannot join a reader";
  }
  {
    CFile exclusive;
    exclusive.Open(path.c_str(), 0x08 | 0x40 | 0x80 | 0x100);
    EXPECT_EQ(static_cast<unsigned long>(ERROR_SHARING_VIOLATION), CodeOfOpen(path, 0x48))
        << "0x100 overrides the sharing bits";
  }
  {
    // The destructor closes: an unshared open works again afterwards.
    CFile writer;
    writer.Open(path.c_str(), 0x10);
  }
  EXPECT_EQ(0u, CodeOfOpen(path, 0x08));
}

TEST_F(CFileTest, CloseWithoutAFileDoesNothingAndExceptionsShareTheirText) {
  CFile file;
  EXPECT_NO_THROW(file.Close());
  file.Open(PathOf("close.txt").c_str(), 0x11);
  file.Close();
  EXPECT_FALSE(file.IsOpen());
  EXPECT_NO_THROW(file.Close());

  CFileException original(ERROR_FILE_NOT_FOUND);
  CFileException copy = original;
  EXPECT_EQ(original.GetErrorCode(), copy.GetErrorCode());
  EXPECT_EQ(original.GetErrorText().GetString(), copy.GetErrorText().GetString());

  CFileException unknown(0x2000BEEF);
  EXPECT_STREQ("Error 536919791 occured.", unknown.GetErrorText());
}

}  // namespace

namespace {

// The file calls of a replacing write, in their order, with the handle
// flushed and the flags of the move.
struct FileCall {
  std::string name;
  HANDLE handle;
  DWORD flags;
};
std::vector<FileCall> gFileCalls;
bool gFailFlush = false;
qmtest::ScopedImportHook* gFlushHook = nullptr;
qmtest::ScopedImportHook* gMoveHook = nullptr;

BOOL WINAPI WatchedFlush(HANDLE file) {
  gFileCalls.push_back({"flush", file, 0});
  if (gFailFlush) {
    SetLastError(ERROR_DISK_FULL);
    return FALSE;
  }
  return gFlushHook->Original<decltype(&FlushFileBuffers)>()(file);
}

BOOL WINAPI WatchedMove(LPCSTR from, LPCSTR to, DWORD flags) {
  gFileCalls.push_back({"move", nullptr, flags});
  return gMoveHook->Original<decltype(&MoveFileExA)>()(from, to, flags);
}

std::string Content(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

// A power loss right after the replace must find the new content on the
// disk: the new file is flushed before it moves, and the move is written
// through. A flush that fails leaves the old content in place.
TEST_F(CFileTest, AReplacingWriteFlushesTheNewFileBeforeItTakesTheOldOnesPlace) {
  qmtest::ScopedImportHook flush("FlushFileBuffers", reinterpret_cast<void*>(WatchedFlush));
  qmtest::ScopedImportHook move("MoveFileExA", reinterpret_cast<void*>(WatchedMove));
  gFlushHook = &flush;
  gMoveHook = &move;
  ASSERT_TRUE(move.Installed());
  const std::string target = PathOf("Note.doc");
  WriteFileWith(target, "old content");
  gFileCalls.clear();
  gFailFlush = false;
  {
    CReplacingFile file(target.c_str());
    const HANDLE newFile = file.File().GetHandle();
    file.Write("new content", 11);
    file.Commit();
    ASSERT_EQ(2u, gFileCalls.size()) << "a flush, then the move";
    EXPECT_EQ("flush", gFileCalls[0].name);
    EXPECT_EQ(newFile, gFileCalls[0].handle) << "the new file is the one flushed";
    EXPECT_EQ("move", gFileCalls[1].name);
    EXPECT_EQ(static_cast<DWORD>(MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH), gFileCalls[1].flags);
  }
  EXPECT_EQ("new content", Content(target));

  gFileCalls.clear();
  gFailFlush = true;
  {
    CReplacingFile file(target.c_str());
    file.Write("lost content", 12);
    try {
      file.Commit();
      ADD_FAILURE() << "a failed flush was not reported";
    } catch (const CFileException& failure) {
      EXPECT_EQ(static_cast<unsigned long>(ERROR_DISK_FULL), failure.GetErrorCode());
    }
  }
  gFailFlush = false;
  EXPECT_EQ("new content", Content(target)) << "the old content stays when the new one did not reach the disk";
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((target + ".new").c_str())) << "the new file stayed";
  for (const FileCall& call : gFileCalls) EXPECT_NE("move", call.name) << "moved an unflushed file";
}
