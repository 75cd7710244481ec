// CString under Wine: block steps, sharing and copy on write, the text
// operations, the platform formatters and resource loading, and sharing
// across threads.
#include "Library/CString.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace {

std::string Digits(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += static_cast<char>('0' + i % 10);
  return text;
}

TEST(CStringTest, CapacityFollowsTheSteppedTable) {
  CString text;
  EXPECT_FALSE(text.HasBuffer());
  text.Append("abc");
  EXPECT_EQ(3, text.GetLength());
  EXPECT_EQ(64, text.GetCapacity());
  EXPECT_STREQ("abc", text);

  const int steps[][2] = {{0, 64},    {63, 64},   {64, 128},  {127, 128}, {128, 256}, {255, 256},
                          {256, 320}, {319, 320}, {320, 384}, {383, 384}, {384, 448}, {447, 448},
                          {448, 512}, {511, 512}, {512, 520}, {513, 528}, {520, 528}, {1000, 1008}};
  for (const auto& step : steps) EXPECT_EQ(step[1], CString::CapacityFor(step[0])) << "length " << step[0];

  // Repeated short appends stay in the block until it is full.
  CString grown;
  for (int i = 0; i < 63; ++i) grown.Append("x");
  EXPECT_EQ(64, grown.GetCapacity());
  grown.Append("x");
  EXPECT_EQ(64, grown.GetLength());
  EXPECT_EQ(128, grown.GetCapacity());
  EXPECT_EQ(std::string(64, 'x'), grown.GetString());
}

TEST(CStringTest, CopiesShareUntilOneChangesThenTheCopyStepsUp) {
  CString original("abc");
  CString copy(original);
  EXPECT_EQ(original.GetString(), copy.GetString()) << "a copy shares the block";
  EXPECT_EQ(2, original.GetShareCount());

  copy.Append("def");
  EXPECT_STREQ("abc", original);
  EXPECT_STREQ("abcdef", copy);
  EXPECT_EQ(1, original.GetShareCount());
  EXPECT_EQ(1, copy.GetShareCount());
  EXPECT_EQ(64, original.GetCapacity());
  EXPECT_EQ(128, copy.GetCapacity()) << "the unshared copy of a 64 block gets 128";

  CString large(std::string(500, 'q').c_str());
  EXPECT_EQ(512, large.GetCapacity());
  CString largeCopy = large;
  largeCopy.MakeLower();
  EXPECT_EQ(512, large.GetCapacity());
  EXPECT_EQ(520, largeCopy.GetCapacity()) << "the unshared copy of a 512 block gets 520";

  // Every changing operation leaves the other sharer alone.
  CString path("  D:\\A\\B.EXE  ");
  CString trimmed = path;
  trimmed.Trim();
  CString lowered = path;
  lowered.MakeLower();
  CString emptied = path;
  emptied.Empty();
  CString shortened = path;
  shortened.SetLength(3);
  EXPECT_STREQ("  D:\\A\\B.EXE  ", path);
  EXPECT_STREQ("D:\\A\\B.EXE", trimmed);
  EXPECT_STREQ("  d:\\a\\b.exe  ", lowered);
  EXPECT_STREQ("", emptied);
  EXPECT_TRUE(emptied.HasBuffer()) << "Empty keeps the block";
  EXPECT_STREQ("  D", shortened);
}

TEST(CStringTest, AssigningAnEmptyStringEmptiesTheTarget) {
  CString target("abc");
  target = CString();
  EXPECT_EQ(0, target.GetLength());
  EXPECT_STREQ("", target);
  EXPECT_FALSE(target.HasBuffer());

  target = "abc";
  CString emptyWithBlock("");
  EXPECT_TRUE(emptyWithBlock.HasBuffer());
  target = emptyWithBlock;
  EXPECT_EQ(0, target.GetLength());
  EXPECT_STREQ("", target);

  CString source("xyz");
  target = source;
  EXPECT_EQ(source.GetString(), target.GetString()) << "assignment shares, it does not copy";
  target = target;
  EXPECT_STREQ("xyz", target);
  EXPECT_EQ(2, source.GetShareCount());

  // Appending an empty string still changes nothing.
  target.Append(CString());
  target.Append(CString(""));
  EXPECT_STREQ("xyz", target);
  EXPECT_EQ(2, source.GetShareCount());
}

TEST(CStringTest, SearchingCuttingAndComparing) {
  CString path("D:\\a\\b.exe");
  EXPECT_EQ(4, path.ReverseFind('\\'));
  EXPECT_STREQ("D:\\a", path.Left(4));
  EXPECT_EQ(-1, path.ReverseFind('/'));
  EXPECT_STREQ("exe", path.Mid(path.ReverseFind('.') + 1));
  EXPECT_STREQ("b", path.Mid(5, 1));
  EXPECT_STREQ("D:\\a\\b.exe", path.Left(100));
  EXPECT_EQ('b', path.CharAt(5));
  EXPECT_EQ('\0', path.CharAt(10));

  EXPECT_FALSE(CString().Equals("")) << "a string without block equals nothing";
  EXPECT_TRUE(CString("").Equals(""));
  EXPECT_TRUE(path.Equals("D:\\a\\b.exe"));
  EXPECT_FALSE(path.Equals("D:\\a\\b.ex"));
  EXPECT_FALSE(path.Equals(nullptr));

  CString bytes("ab\0cd", 5);
  EXPECT_EQ(5, bytes.GetLength()) << "an explicit length copies exactly that many bytes";

  CString doubled("ab");
  doubled.Append(doubled);
  doubled.Append(doubled.GetString() + 1);
  EXPECT_STREQ("ababbab", doubled) << "appending itself or a part of itself";
}

TEST(CStringTest, ExtractFieldWalksASeparatedList) {
  CString list("a;bb");
  CString field;
  EXPECT_EQ(2, list.ExtractField(';', 0, field));
  EXPECT_STREQ("a", field);
  EXPECT_EQ(5, list.ExtractField(';', 2, field));
  EXPECT_STREQ("bb", field);
  EXPECT_EQ(0, list.ExtractField(';', 5, field));

  std::vector<std::string> fields;
  CString walked(";x;;yz;");
  for (int next = 0; (next = walked.ExtractField(';', next, field)) != 0;)
    fields.push_back(field.GetString());
  EXPECT_EQ((std::vector<std::string>{"", "x", "", "yz"}), fields);

  EXPECT_EQ(0, CString().ExtractField(';', 0, field));
  EXPECT_EQ(0, CString("").ExtractField(';', 0, field));
}

TEST(CStringTest, TrimRemovesWhiteSpaceAtBothEnds) {
  CString text("  x  ");
  text.Trim();
  EXPECT_STREQ("x", text);
  EXPECT_EQ(1, text.GetLength());

  CString mixed("\t\r\n\v\f a b \r\n");
  mixed.Trim();
  EXPECT_STREQ("a b", mixed);

  CString blank(" \t\n ");
  blank.Trim();
  EXPECT_EQ(0, blank.GetLength());

  CString none;
  none.Trim();
  EXPECT_FALSE(none.HasBuffer());
}

TEST(CStringTest, FormatUsesThePlatformFormatterAndItsLimit) {
  CString text;
  text.Format("%d-%s-%05lu-%c", 42, "x", 7ul, 'z');
  EXPECT_STREQ("42-x-00007-z", text);

  std::string longText(3000, 'a');
  CString cut;
  cut.Format("<%s>", longText.c_str());
  EXPECT_GE(cut.GetLength(), 1023);
  EXPECT_LE(cut.GetLength(), 1024);
  EXPECT_EQ(('<' + longText).substr(0, cut.GetLength()), cut.GetString());
  EXPECT_EQ('\0', cut.GetString()[cut.GetLength()]);
}

TEST(CStringTest, FormatSystemErrorUsesSystemTextOrTheFallback) {
  CString known;
  known.FormatSystemError(ERROR_FILE_NOT_FOUND);
  EXPECT_GT(known.GetLength(), 0);
  EXPECT_EQ(std::string::npos, std::string(known.GetString()).find("occured"));

  // Customer-defined codes (bit 29) never have system text.
  const unsigned long unknownCode = 0x2000BEEF;
  CString unknown;
  unknown.FormatSystemError(unknownCode);
  EXPECT_STREQ("Error 536919791 occured.", unknown);
}

TEST(CStringTest, ResourceStringsLoadWholeWhateverTheirLength) {
  CString hello;
  EXPECT_TRUE(hello.LoadResourceString(101));
  EXPECT_STREQ("Hello resource", hello);

  for (int length : {254, 255, 256, 600, 1000}) {
    unsigned id = length == 254 ? 102 : length == 255 ? 103 : length == 256 ? 104 : length == 600 ? 105 : 106;
    CString text;
    EXPECT_TRUE(text.LoadResourceString(id)) << "id " << id;
    EXPECT_EQ(length, text.GetLength()) << "id " << id;
    EXPECT_EQ(Digits(length), text.GetString()) << "id " << id;
  }

  CString missing("kept");
  EXPECT_FALSE(missing.LoadResourceString(999));
  EXPECT_STREQ("kept", missing);

  // Small pointer values are resource ids, in construction and assignment.
  CString constructed(MAKEINTRESOURCEA(101));
  EXPECT_STREQ("Hello resource", constructed);
  CString assigned;
  assigned = MAKEINTRESOURCEA(105);
  EXPECT_EQ(600, assigned.GetLength());
}

DWORD WINAPI CopyManyTimes(void* parameter) {
  const CString& shared = *static_cast<const CString*>(parameter);
  for (int i = 0; i < 20000; ++i) {
    CString copy(shared);
    CString assigned;
    assigned = copy;
    if (i % 100 == 0) {
      // A change unshares only the changed copy.
      assigned.Append("!");
      if (!copy.Equals("shared text")) return 1;
    }
  }
  return 0;
}

TEST(CStringTest, CopiesMadeAndDroppedOnManyThreadsLeaveTheCountRight) {
  CString shared("shared text");
  HANDLE threads[4];
  for (HANDLE& thread : threads) {
    thread = CreateThread(nullptr, 0, CopyManyTimes, &shared, 0, nullptr);
    ASSERT_NE(nullptr, thread);
  }
  ASSERT_EQ(WAIT_OBJECT_0, WaitForMultipleObjects(4, threads, TRUE, 60000));
  for (HANDLE thread : threads) {
    DWORD result = 1;
    GetExitCodeThread(thread, &result);
    EXPECT_EQ(0u, result);
    CloseHandle(thread);
  }
  EXPECT_EQ(1, shared.GetShareCount());
  EXPECT_STREQ("shared text", shared);
}

TEST(CStringTest, PrepareBufferLetsThePlatformWriteIntoTheString) {
  CString name("old");
  CString sharer = name;
  char* buffer = name.PrepareBuffer(MAX_PATH);
  DWORD length = GetModuleFileNameA(nullptr, buffer, MAX_PATH + 1);
  ASSERT_GT(length, 0u);
  EXPECT_TRUE(name.SetLength(static_cast<int>(length)));
  EXPECT_EQ(static_cast<int>(length), name.GetLength());
  EXPECT_STREQ("old", sharer);
  CString file = name.Mid(name.ReverseFind('\\') + 1);
  file.MakeLower();
  EXPECT_STREQ("cstringtests.exe", file);

  EXPECT_FALSE(name.SetLength(name.GetCapacity() + 1)) << "no length beyond the block";
}

}  // namespace
