// Stores damaged on disk or crafted by hand: flipped bytes, broken check
// words, reused space, and attachment names that are not bare file names.
#include "ManagersTestSupport.h"

#include "Managers/FastTextAttachment.h"
#include "Managers/KindManager.h"
#include "Managers/PhotoAlbum.h"
#include "Managers/RecordManager.h"
#include "Records/DatabaseObject.h"
#include "Records/RecordText.h"
#include "Resources/MainWindowIds.h"
#include "Support/TestHostWindow.h"

namespace qmmanagers {
namespace {

void FlipByte(const std::string& path, std::uint32_t offset) {
  std::string bytes = ReadFileText(path);
  ASSERT_LT(offset, bytes.size());
  bytes[offset] = static_cast<char>(bytes[offset] ^ 0x5A);
  WriteFileText(path, bytes);
}

// Adds a text note with a hand-written stored attachment name, as a damaged
// or crafted store file can hold one.
template <class Record>
std::uint32_t PlantRecord(const char* title, const char* storedName) {
  auto store = OpenStore<Record>();
  Record& record = store->Data();
  CopyRecordText(record.date, "01:02:03 04/05/2006");
  CopyRecordText(record.title, title);
  CopyRecordText(record.fileName, storedName);
  std::uint32_t address = store->AddRecord();
  CloseStore(store);
  return address;
}

TEST_F(ManagersTest, AFlippedRecordByteWarnsAndTheRecordIsStillListed) {
  for (const char* title : {"one", "two", "three"}) {
    ASSERT_EQ(TextNoteManager::AppendRecord(Main(), NoteValues{title, "f.doc", 0}), 1);
  }
  const std::uint32_t second = RowAddress(1);
  FlipByte(StoreFilePath(RecordKind::TextNote), second + 255);  // first byte of the title
  ASSERT_TRUE(ShowRecords(RecordKind::TextNote, Main()));
  ASSERT_EQ(boxes_.shown.size(), 1u);
  EXPECT_EQ(boxes_.shown[0].text, "Database Object CRC Error");
  EXPECT_EQ(boxes_.shown[0].caption, "Database Handling");
  ASSERT_EQ(RowCount(), 3);
  EXPECT_EQ(RowAddress(1), second);
  EXPECT_EQ(Cell(1, 1), std::string(1, static_cast<char>('t' ^ 0x5A)) + "wo");
  EXPECT_EQ(Cell(2, 1), "three");
}

TEST_F(ManagersTest, ABrokenCheckWordHidesOnlyThatRecord) {
  for (const char* title : {"one", "two", "three"}) {
    ASSERT_EQ(FastTextManager::AppendRecord(Main(), FastTextValues{title, "text"}), 1);
  }
  std::uint32_t headerSize = 0;
  {
    auto store = OpenStore<DatabaseDataFastText>();
    headerSize = store->BlockHeaderSize();  // the block header lies before the record
    CloseStore(store);
  }
  FlipByte(StoreFilePath(RecordKind::FastText), RowAddress(1) - headerSize);  // its check word
  ASSERT_TRUE(ShowRecords(RecordKind::FastText, Main()));
  EXPECT_TRUE(boxes_.shown.empty());
  ASSERT_EQ(RowCount(), 2);
  EXPECT_EQ(Cell(0, 1), "one");
  EXPECT_EQ(Cell(1, 1), "three");
}

TEST_F(ManagersTest, ARecordAddedIntoReusedSpaceIsLastAtFirstAndAtItsFilePositionAfterTheNextShow) {
  for (const char* title : {"A", "B", "C"}) {
    ASSERT_EQ(InternetResManager::AppendRecord(Main(), InternetValues{title, "http://x", 0}), 1);
  }
  const std::uint32_t freed = RowAddress(0);
  Select({0});
  boxes_.answer = kIdYes;
  InternetResManager::RemoveRecords(Main(), 0);
  ASSERT_EQ(InternetResManager::AppendRecord(Main(), InternetValues{"D", "http://d", 3}), 1);
  ASSERT_EQ(RowCount(), 3);
  EXPECT_EQ(Cell(2, 1), "D");
  EXPECT_EQ(RowAddress(2), freed);
  ASSERT_TRUE(ShowRecords(RecordKind::InternetRes, Main()));
  EXPECT_EQ(Cell(0, 1), "D");
  EXPECT_EQ(Cell(1, 1), "B");
  EXPECT_EQ(Cell(2, 1), "C");
}

TEST_F(ManagersTest, AttachmentNamesThatAreNotBareFileNamesAreNeverDeletedOrOpened) {
  // Files outside the attachment folders that crafted names point at.
  const std::string parentVictim = PathOf("victim.txt");  // TextNotes\..\..\victim.txt
  WriteFileText(parentVictim, "outside");
  const std::string absoluteVictim = PathOf("absolute.txt");
  WriteFileText(absoluteVictim, "outside too");
  const std::string inside = gTextNoteFolder + "plain.doc";
  WriteFileText(inside, "inside");

  PlantRecord<DatabaseDataTextNote>("parent", "..\\..\\victim.txt");
  PlantRecord<DatabaseDataTextNote>("absolute", absoluteVictim.c_str());
  PlantRecord<DatabaseDataTextNote>("plain", "plain.doc");
  ASSERT_TRUE(ShowRecords(RecordKind::TextNote, Main()));
  ASSERT_EQ(RowCount(), 3);

  // The editor gets no path for a crafted name.
  Select({0});
  NoteValues values;
  ASSERT_EQ(TextNoteManager::GetFocusedRecord(Main(), values), 1);
  EXPECT_EQ(values.title, "parent");
  EXPECT_EQ(values.attachment, "");

  Select({0, 1, 2});
  boxes_.answer = kIdYes;
  TextNoteManager::RemoveRecords(Main(), 0);
  EXPECT_EQ(RowCount(), 0);
  EXPECT_EQ(ReadFileText(parentVictim), "outside");
  EXPECT_EQ(ReadFileText(absoluteVictim), "outside too");
  EXPECT_FALSE(FileExists(inside));  // a bare name is deleted with its record

  // Delete All takes the same road.
  PlantRecord<DatabaseDataTextNote>("again", "..\\..\\victim.txt");
  ASSERT_TRUE(ShowRecords(RecordKind::TextNote, Main()));
  boxes_.answer = kIdYes;
  TextNoteManager::RemoveRecords(Main(), 1);
  EXPECT_EQ(RowCount(), 0);
  EXPECT_EQ(ReadFileText(parentVictim), "outside");

  // A fast text with a crafted name is not read: it counts as missing.
  boxes_.shown.clear();
  WriteFileText(gFastTextFolder + "..\\victim.fst", "secret");
  PlantRecord<DatabaseDataFastText>("crafted", "..\\victim.fst");
  ASSERT_TRUE(ShowRecords(RecordKind::FastText, Main()));
  Select({0});
  FastTextValues text;
  EXPECT_EQ(FastTextManager::GetFocusedRecord(Main(), text), 0);
  EXPECT_EQ(text.title, "crafted");
  EXPECT_EQ(text.text, "");
  ASSERT_EQ(boxes_.shown.size(), 1u);
  EXPECT_EQ(boxes_.shown[0].caption, "Quillmate");
  EXPECT_EQ(boxes_.shown[0].style, kMbOk | kMbIconError);
  // Nor is it written.
  EXPECT_EQ(FastTextManager::ChangeFocusedRecord(Main(), FastTextValues{"crafted", "overwritten"}), 0);
  EXPECT_EQ(ReadFileText(gDataFolder + "victim.fst"), "secret");
  EXPECT_EQ(Cell(0, 1), "crafted");

  // The album viewer gets no picture path for one either.
  PlantRecord<DatabaseDataPhotoAlbum>("photo", "C:\\x.jpg");
  ASSERT_TRUE(ShowRecords(RecordKind::PhotoAlbum, Main()));
  PhotoValues photo;
  int position = 0;
  ASSERT_TRUE(StepAlbum(Main(), photo, false, position, true));
  EXPECT_EQ(photo.title, "photo");
  EXPECT_EQ(photo.picturePath, "");
}

TEST_F(ManagersTest, ARecordThatFailedItsCheckIsDeletedButKeepsTheFileItsNameMayWronglyName) {
  // Two notes; the first one's damaged name could point at anyone's file.
  WriteFileText(gTextNoteFolder + "first.doc", "first");
  WriteFileText(gTextNoteFolder + "second.doc", "second");
  WriteFileText(gTextNoteFolder + "third.doc", "third");
  ASSERT_EQ(TextNoteManager::AppendRecord(Main(), NoteValues{"first", "first.doc", 0}), 1);
  ASSERT_EQ(TextNoteManager::AppendRecord(Main(), NoteValues{"second", "second.doc", 0}), 1);
  ASSERT_EQ(TextNoteManager::AppendRecord(Main(), NoteValues{"third", "third.doc", 0}), 1);
  FlipByte(StoreFilePath(RecordKind::TextNote), RowAddress(0) + 255);  // the title
  ASSERT_TRUE(ShowRecords(RecordKind::TextNote, Main()));
  boxes_.shown.clear();

  // Delete the damaged one: the record goes after the warning, its file stays.
  Select({0});
  boxes_.answer = kIdYes;
  TextNoteManager::RemoveRecords(Main(), 0);
  ASSERT_EQ(boxes_.shown.size(), 2u);
  EXPECT_EQ(boxes_.shown[0].text, "Delete 1 text note and its file?");
  EXPECT_EQ(boxes_.shown[1].text, "Database Object CRC Error");
  ASSERT_EQ(RowCount(), 2);
  EXPECT_EQ(ReadFileText(gTextNoteFolder + "first.doc"), "first");
  // A sound record takes its file with it.
  Select({0});
  TextNoteManager::RemoveRecords(Main(), 0);
  EXPECT_FALSE(FileExists(gTextNoteFolder + "second.doc"));

  // Delete All takes the same road.
  FlipByte(StoreFilePath(RecordKind::TextNote), RowAddress(0) + 255);
  boxes_.answer = kIdYes;
  TextNoteManager::RemoveRecords(Main(), 1);
  EXPECT_EQ(RowCount(), 0);
  EXPECT_EQ(ReadFileText(gTextNoteFolder + "third.doc"), "third");
  ASSERT_TRUE(ShowRecords(RecordKind::TextNote, Main()));
  EXPECT_EQ(RowCount(), 0);
}

TEST_F(ManagersTest, ShowingAKindInAWindowWithoutEditToolbarEnds) {
  // A window with only a record list: every toolbar request answers 0, and
  // the label search must end all the same.
  qmtest::TestHostWindow bare(WS_OVERLAPPEDWINDOW, RECT{0, 0, 400, 300}, "Bare", "QuillmateBareManagerWindow");
  HWND list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | LVS_REPORT, 0, 0, 300, 200, bare.Handle(),
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(ID_RECORD_LIST)), nullptr, nullptr);
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(InternetResManager::AppendRecord(Main(), InternetValues{"A", "http://a", 0}), 1);
  ASSERT_TRUE(ShowRecords(RecordKind::InternetRes, bare.Handle()));
  EXPECT_EQ(ListView_GetItemCount(list), 1);
  EXPECT_EQ(CurrentKind(), static_cast<int>(RecordKind::InternetRes));
}

}  // namespace
}  // namespace qmmanagers
