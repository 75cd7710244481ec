// The record layouts as they land on disk: every field of every kind at its
// file-format offset, texts cut at 254 characters, the own-address slot 0 on
// disk and the kind table's names.
#include <cstring>
#include <map>
#include <vector>

#include "Records/DatabaseObject.h"
#include "Records/RecordText.h"
#include "RecordsTestSupport.h"

namespace qmrecords {
namespace {

struct ExpectedField {
  const char* name;
  std::uint32_t offset;
  RecordFieldType type;
};

struct ExpectedKind {
  RecordKind kind;
  const char* storeName;
  const char* toolName;
  std::uint32_t size;
  std::vector<ExpectedField> fields;
};

constexpr RecordFieldType T = RecordFieldType::Text;
constexpr RecordFieldType I = RecordFieldType::Int32;

// Written out from the file format, independently of the structures.
const std::vector<ExpectedKind>& ExpectedKinds() {
  static const std::vector<ExpectedKind> kinds = {
      {RecordKind::TextNote,
       "TextNotes",
       "textnote",
       773,
       {{"date", 0, T}, {"title", 255, T}, {"note_type", 510, I}, {"file_name", 514, T}}},
      {RecordKind::AudioNote,
       "AudioNotes",
       "audionote",
       773,
       {{"date", 0, T}, {"title", 255, T}, {"note_type", 510, I}, {"file_name", 514, T}}},
      {RecordKind::VideoNote,
       "VideoNotes",
       "videonote",
       773,
       {{"date", 0, T}, {"title", 255, T}, {"note_type", 510, I}, {"file_name", 514, T}}},
      {RecordKind::PhotoAlbum,
       "PhotoAlbum",
       "photo",
       1024,
       {{"date", 0, T}, {"title", 255, T}, {"comment", 510, T}, {"file_name", 765, T}}},
      {RecordKind::TimeNotif,
       "TimeNotif",
       "timenotif",
       790,
       {{"date", 0, T},
        {"title", 255, T},
        {"text", 510, T},
        {"type", 765, I},
        {"time", 770, RecordFieldType::Time}}},
      {RecordKind::EmailRes,
       "EmailRes",
       "email",
       2809,
       {{"date", 0, T},
        {"name", 255, T},
        {"company", 510, T},
        {"address", 765, T},
        {"city", 1020, T},
        {"zip", 1275, T},
        {"state", 1530, T},
        {"phone", 1785, T},
        {"nick", 2040, T},
        {"comment", 2295, T},
        {"email", 2550, T}}},
      {RecordKind::InternetRes,
       "InternetRes",
       "internet",
       776,
       {{"date", 0, T}, {"title", 255, T}, {"address", 510, T}, {"resource_type", 768, I}}},
      {RecordKind::FastText,
       "FastText",
       "fasttext",
       769,
       {{"date", 0, T}, {"title", 255, T}, {"file_name", 510, T}}},
  };
  return kinds;
}

class RecordLayoutTest : public RecordsTest {};

TEST_F(RecordLayoutTest, EveryFieldOfEveryKindLandsAtItsFileOffset) {
  for (const ExpectedKind& expected : ExpectedKinds()) {
    SCOPED_TRACE(expected.storeName);
    const RecordKindInfo& info = RecordKindInfoOf(expected.kind);
    EXPECT_STREQ(info.storeName, expected.storeName);
    EXPECT_STREQ(info.toolName, expected.toolName);
    ASSERT_EQ(info.recordSize, expected.size);
    ASSERT_EQ(info.fieldCount, expected.fields.size());

    std::unique_ptr<RecordStore> store = MakeRecordStore(expected.kind);
    const std::string path = PathOf(std::string(expected.storeName) + ".qmt");
    ASSERT_EQ(OpenOrCreateStoreFile(*store, path), 0);
    unsigned char* record = store->RecordBytes();
    for (std::size_t i = 0; i < expected.fields.size(); ++i) {
      const ExpectedField& field = expected.fields[i];
      EXPECT_STREQ(info.fields[i].name, field.name);
      EXPECT_EQ(info.fields[i].offset, field.offset) << field.name;
      EXPECT_EQ(info.fields[i].type, field.type) << field.name;
      if (field.type == T) {
        CopyRecordText(reinterpret_cast<char*>(record + field.offset),
                       (std::string("v-") + field.name).c_str());
      } else {
        for (std::uint32_t b = 0; b < RecordFieldSize(field.type); ++b)
          record[field.offset + b] = static_cast<unsigned char>(0xA0 + i + b);
      }
    }
    const std::uint32_t address = store->AddRecord();
    ASSERT_EQ(address, 68u);
    EXPECT_EQ(store->RecordAddress(), 68u);
    ASSERT_TRUE(CloseStoreFile(*store));

    const Bytes disk = ReadFileBytes(path);
    ASSERT_EQ(disk.size(), 68u + expected.size + 4u);
    EXPECT_EQ(WordAt(disk, 44), expected.size + 32u) << "block_length";
    for (std::size_t i = 0; i < expected.fields.size(); ++i) {
      const ExpectedField& field = expected.fields[i];
      const unsigned char* at = disk.data() + 68 + field.offset;
      if (field.type == T) {
        EXPECT_STREQ(reinterpret_cast<const char*>(at), (std::string("v-") + field.name).c_str());
      } else {
        for (std::uint32_t b = 0; b < RecordFieldSize(field.type); ++b)
          EXPECT_EQ(at[b], 0xA0 + i + b) << field.name << " byte " << b;
      }
    }
    EXPECT_EQ(WordAt(disk, 68 + expected.size - 4), 0u) << "own address on disk";
  }
}

TEST_F(RecordLayoutTest, KindsAreFoundByToolNameAndFileName) {
  EXPECT_EQ(FindRecordKindByToolName("email")->kind, RecordKind::EmailRes);
  EXPECT_EQ(FindRecordKindByToolName("Email"), nullptr);
  EXPECT_EQ(FindRecordKindByFileName("/x/y/TextNotes.qmt")->kind, RecordKind::TextNote);
  EXPECT_EQ(FindRecordKindByFileName("C:\\Data\\fasttext.QMT")->kind, RecordKind::FastText);
  EXPECT_EQ(FindRecordKindByFileName("TextNote.qmt"), nullptr);
  EXPECT_EQ(FindRecordKindByFileName("TextNotes.qmt.bak"), nullptr);
}

TEST_F(RecordLayoutTest, TextsAreCutAt254CharactersWithByte254Zero) {
  char field[255];
  std::memset(field, 'x', sizeof field);
  CopyRecordText(field, "");
  for (char c : field) ASSERT_EQ(c, '\0');

  const std::string longTitle(300, 'T');
  CopyRecordText(field, longTitle.c_str());
  EXPECT_EQ(RecordTextOf(field), std::string(254, 'T'));
  EXPECT_EQ(field[254], '\0');

  // A record whose text fields carry no terminator at all (255 bytes each)
  // is cut when stored, and a changed record is cut on disk and in memory.
  auto store = OpenStore<DatabaseDataEmailRes>(PathOf("EmailRes.qmt"));
  ASSERT_TRUE(store);
  std::memset(store->Data().email, 'e', 255);
  CopyRecordText(store->Data().name, longTitle.c_str());
  const std::uint32_t address = store->AddRecord();
  ASSERT_NE(address, 0u);
  EXPECT_EQ(store->Data().email[254], '\0');

  DatabaseDataEmailRes changed{};
  std::memset(changed.comment, 'c', 255);
  changed.ownAddress = 12345;  // never reaches the disk
  ASSERT_EQ(store->ChangeRecord(changed), address);
  EXPECT_EQ(RecordTextOf(store->Data().comment), std::string(254, 'c'));
  EXPECT_EQ(+store->Data().ownAddress, address);
  ASSERT_TRUE(CloseStore(store));

  const Bytes disk = ReadFileBytes(PathOf("EmailRes.qmt"));
  EXPECT_EQ(disk.at(68 + 2295 + 253), 'c');
  EXPECT_EQ(disk.at(68 + 2295 + 254), 0);
  EXPECT_EQ(disk.at(68 + 255), 0) << "the change replaced the whole record";
  EXPECT_EQ(WordAt(disk, 68 + 2805), 0u);
}

}  // namespace
}  // namespace qmrecords
