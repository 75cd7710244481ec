// qmdb: the real binary round-trips records of every kind and judges damaged
// and foreign files by its exit status; the commands in-process cover the
// malformed-input rules and the free-list audit without a process per case.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

#include "CodePage.h"
#include "JsonLine.h"
#include "QmdbTestSupport.h"
#include "RecordJson.h"

namespace qmrecords {
namespace {

// One value per field of a kind; texts carry 1252 characters and one is too long.
std::string SampleLine(const RecordKindInfo& kind, JsonMembers& expected) {
  JsonObjectWriter writer;
  expected.clear();
  for (std::size_t i = 0; i < kind.fieldCount; ++i) {
    const RecordField& field = kind.fields[i];
    JsonValue value;
    if (field.type == RecordFieldType::Text) {
      std::string text = std::string(field.name) + " \xC3\xA9\xE2\x82\xAC\xE2\x80\x9C\"\\ \t" +
                         std::to_string(i);  // é € “ quote backslash tab
      if (i == 1) text = std::string(300, 'L');
      writer.AddString(field.name, text);
      value.type = JsonValue::Type::String;
      value.text = i == 1 ? std::string(254, 'L') : text;
    } else if (field.type == RecordFieldType::Int32) {
      writer.AddInteger(field.name, -7 + static_cast<int>(i));
      value.type = JsonValue::Type::Integer;
      value.integer = -7 + static_cast<int>(i);
    } else {
      writer.AddString(field.name, "2003-11-01 12:03:04.005");
      value.type = JsonValue::Type::String;
      value.text = "2003-11-01 12:03:04.005";
    }
    expected.emplace_back(field.name, value);
  }
  return writer.Finish();
}

TEST_F(QmdbTest, TheBinaryAddsAndDumpsTheSameFieldsForEveryKind) {
  for (int index = 0; index < kRecordKindCount; ++index) {
    const RecordKindInfo& kind = RecordKindInfoAt(index);
    SCOPED_TRACE(kind.toolName);
    const std::string file = PathOf(std::string(kind.storeName) + ".qmt");
    JsonMembers expected;
    const std::string line = SampleLine(kind, expected);
    std::string out, err;
    // The kind comes from the file name for even kinds, from --kind otherwise.
    const std::string kindOption = index % 2 ? std::string("--kind ") + kind.toolName + " " : "";
    ASSERT_EQ(RunBinary("add " + kindOption + Quoted(file), line + "\n" + line + "\n", out, err), 0) << err;
    const std::uint32_t second = 68 + kind.recordSize + 32;
    EXPECT_EQ(Lines(out), (std::vector<std::string>{"68", std::to_string(second)}));

    ASSERT_EQ(RunBinary("dump " + kindOption + Quoted(file), "", out, err), 0) << err;
    std::vector<std::string> dumped = Lines(out);
    ASSERT_EQ(dumped.size(), 2u) << out;
    JsonMembers members;
    std::string error;
    ASSERT_TRUE(ParseJsonObject(dumped[1], members, error)) << error << dumped[1];
    ASSERT_EQ(members.size(), expected.size() + 2);
    EXPECT_EQ(members[0].first, "object_address");
    EXPECT_EQ(members[0].second.integer, second);
    EXPECT_EQ(members[1].first, "crc_ok");
    EXPECT_TRUE(members[1].second.boolean);
    for (std::size_t i = 0; i < expected.size(); ++i) {
      EXPECT_EQ(members[i + 2].first, expected[i].first);
      EXPECT_EQ(members[i + 2].second.text, expected[i].second.text) << expected[i].first;
      EXPECT_EQ(members[i + 2].second.integer, expected[i].second.integer) << expected[i].first;
    }
  }
}

TEST_F(QmdbTest, TheBinaryExitsOneOnDamageAndTwoOnAFileThatIsNoDatabase) {
  const std::string notes = MakeNotes();
  std::string out, err;
  EXPECT_EQ(RunBinary("check " + Quoted(notes), "", out, err), 0);
  EXPECT_EQ(Lines(out), std::vector<std::string>{notes + ": 4 live records, 0 free blocks, 0 problems"});

  Bytes bytes = ReadFileBytes(notes);
  bytes[873 + 300] ^= 0x40;  // inside B
  WriteFileBytes(notes, bytes);
  EXPECT_EQ(RunBinary("check " + Quoted(notes), "", out, err), 1);
  EXPECT_EQ(ReadFileBytes(notes), bytes) << "check never writes";
  ASSERT_EQ(Lines(out).size(), 2u) << out;
  EXPECT_NE(Lines(out)[0].find("checksum mismatch at object 873"), std::string::npos) << out;

  ASSERT_EQ(RunBinary("dump " + Quoted(notes), "", out, err), 0);
  EXPECT_NE(Lines(out).at(1).find("\"crc_ok\": false"), std::string::npos);

  const std::string foreign = PathOf("foreign.qmt");
  WriteFileBytes(foreign, Bytes(64, 'x'));
  EXPECT_EQ(RunBinary("check " + Quoted(foreign) + " " + Quoted(notes), "", out, err), 2);
  EXPECT_EQ(RunBinary("dump --kind textnote " + Quoted(foreign), "", out, err), 2);
  EXPECT_EQ(RunBinary("add --kind textnote " + Quoted(foreign), "{}\n", out, err), 2);
  EXPECT_EQ(ReadFileBytes(foreign), Bytes(64, 'x'));
  EXPECT_EQ(RunBinary("--help", "", out, err), 0);
  EXPECT_NE(out.find("resource_type"), std::string::npos);
}

TEST_F(QmdbTest, CheckReportsDamagedHeadersAndBrokenFreeLists) {
  std::string out, err;
  const std::string notes = MakeNotes();
  const Bytes clean = ReadFileBytes(notes);

  Bytes bytes = clean;
  bytes[845] = 0;  // B's check word
  WriteFileBytes(notes, bytes);
  EXPECT_EQ(Run({"check", notes}, "", out, err), 1);
  EXPECT_NE(out.find("damaged block header at 845"), std::string::npos) << out;
  EXPECT_NE(out.find("3 live records"), std::string::npos) << out;

  // Free B and D, then make the list point back at itself through D.
  WriteFileBytes(notes, clean);
  {
    auto store = OpenStore<DatabaseDataTextNote>(notes);
    ASSERT_TRUE(store);
    for (std::uint32_t address : {873u, 2483u}) {
      store->ReadRecord(address);
      ASSERT_EQ(store->DeleteRecord(), address);
    }
    ASSERT_TRUE(CloseStore(store));
  }
  EXPECT_EQ(Run({"check", notes}, "", out, err), 0) << out;
  EXPECT_NE(out.find("2 live records, 2 free blocks, 0 problems"), std::string::npos) << out;
  const Bytes freed = ReadFileBytes(notes);
  ASSERT_EQ(WordAt(freed, 0), 2455u);
  Patch(notes, 845 + 12, 2455);  // B -> D -> B ...
  EXPECT_EQ(Run({"check", notes}, "", out, err), 1);
  EXPECT_NE(out.find("free list cyclic at 2455"), std::string::npos) << out;

  WriteFileBytes(notes, freed);
  Patch(notes, 0, 0xFFFFFFFFu);
  EXPECT_EQ(Run({"check", notes}, "", out, err), 1);
  EXPECT_NE(out.find("free list abandoned"), std::string::npos) << out;

  WriteFileBytes(notes, freed);
  Patch(notes, 0, 1650);  // C is in use
  EXPECT_EQ(Run({"check", notes}, "", out, err), 1);
  EXPECT_NE(out.find("free list member 1650 is not a free block"), std::string::npos) << out;

  WriteFileBytes(notes, freed);
  Patch(notes, 1650 + 4, 0);  // C's length 0: stepped over, the walk goes on
  EXPECT_EQ(Run({"check", notes}, "", out, err), 1);
  EXPECT_NE(out.find("damaged block header at 1650"), std::string::npos) << out;

  EXPECT_EQ(Run({"check", PathOf("missing.qmt")}, "", out, err), 2);
  WriteFileBytes(PathOf("short.qmt"), Bytes(10, 0));
  EXPECT_EQ(Run({"check", PathOf("short.qmt")}, "", out, err), 2);
  EXPECT_NE(out.find("not a usable database"), std::string::npos);
}

TEST_F(QmdbTest, CheckLooksBehindEndOfFileAtWhatTheNextOpenTakesIn) {
  std::string out, err;
  const std::string notes = MakeNotes();
  const Bytes clean = ReadFileBytes(notes);
  Patch(notes, 4, 1650);  // C and D lie behind end_of_file
  EXPECT_EQ(Run({"check", notes}, "", out, err), kExitDamaged);
  EXPECT_NE(out.find("bytes 1650 to 3260 lie behind end_of_file; the program's next open takes them into the heap"),
            std::string::npos)
      << out;
  EXPECT_NE(out.find("4 live records, 0 free blocks, 1 problems"), std::string::npos) << out;

  // A tail of rubbish behind a correct end_of_file: the next open would make
  // it part of the heap, where it is damage.
  Bytes tail = clean;
  tail.insert(tail.end(), 100, 0xAB);
  WriteFileBytes(notes, tail);
  EXPECT_EQ(Run({"check", notes}, "", out, err), kExitDamaged);
  EXPECT_NE(out.find("bytes 3260 to 3360 lie behind end_of_file"), std::string::npos) << out;
  EXPECT_NE(out.find("damaged block header at 3260"), std::string::npos) << out;
}

TEST_F(QmdbTest, MalformedLinesAreReportedWithTheirNumberAndAddNothing) {
  const std::string file = PathOf("InternetRes.qmt");
  const std::string input =
      "{\"title\": \"first\", \"resource_type\": 3}\n"  // 1
      "{\"title\": \"x\", \"colour\": \"red\"}\n"       // 2 unknown field
      "\n"                                              // 3 blank: skipped
      "{\"title\": \"\xE2\x98\x83\"}\n"                 // 4 snowman: not in 1252
      "{\"title\": \"\xC3\x28\"}\n"                     // 5 invalid UTF-8
      "{\"title\": \"a\"} trailing\n"                   // 6
      "{\"title\": [1]}\n"                              // 7 nested
      "{\"resource_type\": 4294967296}\n"               // 8 out of range
      "{\"title\": \"a\", \"title\": \"b\"}\n"          // 9 duplicate
      "{\"title\": \"nul\\u0000\"}\n"                   // 10
      "{\"title\": \"last\", \"date\": \"d\", \"object_address\": 5, \"crc_ok\": true}\n";  // 11
  std::string out, err;
  EXPECT_EQ(Run({"add", file}, input, out, err), 1);
  EXPECT_EQ(Lines(out), (std::vector<std::string>{"68", "876"}));
  for (int line : {2, 4, 5, 6, 7, 8, 9, 10})
    EXPECT_NE(err.find("line " + std::to_string(line) + ": malformed"), std::string::npos) << line;
  EXPECT_EQ(Lines(err).size(), 8u) << err;

  EXPECT_EQ(Run({"dump", file}, "", out, err), 0);
  std::vector<std::string> dumped = Lines(out);
  ASSERT_EQ(dumped.size(), 2u);
  EXPECT_NE(dumped[0].find("\"resource_type\": 3"), std::string::npos);
  EXPECT_NE(dumped[1].find("\"date\": \"d\""), std::string::npos);
  // A missing date gets the time stamp of the (test) clock: 19 characters.
  JsonMembers members;
  std::string error;
  ASSERT_TRUE(ParseJsonObject(dumped[0], members, error)) << error << dumped[0];
  EXPECT_EQ(members[2].first, "date");
  EXPECT_EQ(members[2].second.text.size(), 19u);

  EXPECT_EQ(Run({"add", PathOf("unknown.qmt")}, "{}\n", out, err), 2);
  EXPECT_NE(err.find("use --kind"), std::string::npos);
  EXPECT_EQ(Run({"add", "--kind", "notes", file}, "{}\n", out, err), 2);
  EXPECT_EQ(Run({"frobnicate"}, "", out, err), 2);
}

TEST_F(QmdbTest, TextsConvertBetweenCodePage1252AndUtf8) {
  std::string all;
  for (int byte = 1; byte < 256; ++byte) all += static_cast<char>(byte);
  std::string utf8 = Cp1252ToUtf8(all), back, error;
  ASSERT_TRUE(Utf8ToCp1252(utf8, back, error)) << error;
  EXPECT_EQ(back, all);
  EXPECT_EQ(Cp1252ToUtf8("\x80\x99\xE9"), "\xE2\x82\xAC\xE2\x84\xA2\xC3\xA9");
  EXPECT_FALSE(Utf8ToCp1252("\xC2\x80", back, error)) << "U+0080 has no byte in 1252";
  EXPECT_FALSE(Utf8ToCp1252("\xC0\xAF", back, error)) << "overlong";
  EXPECT_FALSE(Utf8ToCp1252("\xED\xA0\x80", back, error)) << "surrogate";
  EXPECT_FALSE(Utf8ToCp1252("\xE2\x82", back, error)) << "truncated";

  RecordTime time{};
  EXPECT_TRUE(ParseRecordTime("2024-02-29 00:00:00.000", time));
  EXPECT_EQ(time.dayOfWeek, 4) << "a Thursday";
  EXPECT_FALSE(ParseRecordTime("2023-02-29 00:00:00.000", time));
  EXPECT_FALSE(ParseRecordTime("2023-01-01 24:00:00.000", time));
  EXPECT_FALSE(ParseRecordTime("2023-01-01 00:00:00", time));
  JsonMembers members;
  EXPECT_TRUE(ParseJsonObject("{\"a\":\"\\ud83d\\ude00\",\"b\":-12}", members, error)) << error;
  EXPECT_EQ(members[0].second.text, "\xF0\x9F\x98\x80");
  EXPECT_EQ(members[1].second.integer, -12);
  for (const char* bad : {"", "{", "{\"a\"}", "{\"a\":1,}", "{\"a\":01}", "{\"a\":1.5}",
                          "{\"a\":\"\\ud83d\"}", "{\"a\":\"\\x\"}", "{\"a\":\"\x01\"}", "[]"})
    EXPECT_FALSE(ParseJsonObject(bad, members, error)) << bad;
}

}  // namespace
}  // namespace qmrecords
