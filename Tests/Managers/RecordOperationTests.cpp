// Adding, changing and deleting through the manager operations, checked on
// the real record list, the store files and the attachment folders.
#include "ManagersTestSupport.h"

#include "Managers/KindManager.h"
#include "Managers/RecordManager.h"
#include "Managers/RecordObserver.h"
#include "Records/DatabaseObject.h"
#include "Records/RecordText.h"

namespace qmmanagers {
namespace {

// Writes an attachment file the way an editor does before adding its record.
std::string MakeTextNoteFile(const std::string& name) {
  std::string path = gTextNoteFolder + name;
  WriteFileText(path, "{\\rtf1 " + name + "}");
  return path;
}

// The titles of the text-note store in file order.
std::vector<std::string> StoredTextNoteTitles() {
  std::vector<std::string> titles;
  auto store = OpenStore<DatabaseDataTextNote>();
  store->ForEachRecordOf(
      [&](const DatabaseDataTextNote& note, std::uint32_t) { titles.push_back(RecordTextOf(note.title)); });
  CloseStore(store);
  return titles;
}

TEST_F(ManagersTest, AddedRecordsAppearAsRowsWithTheirKindsTexts) {
  ASSERT_EQ(TextNoteManager::AppendRecord(Main(), NoteValues{"Dentist", "TextNote1.doc", 1}), 1);
  ASSERT_EQ(TextNoteManager::AppendRecord(Main(), NoteValues{"Seven", "TextNote2.doc", 7}), 1);
  ASSERT_EQ(RowCount(), 2);
  EXPECT_EQ(Row(0), (std::vector<std::string>{"09:05:03 12/02/2003", "Dentist", "Urgent Note"}));
  EXPECT_EQ(Row(1), (std::vector<std::string>{"09:05:03 12/02/2003", "Seven", "Normal Note"}));
  EXPECT_EQ(RowAddress(0), 68u);  // the first record of a new file

  ASSERT_EQ(InternetResManager::AppendRecord(Main(), InternetValues{"Odd", "http://a.example", 9}), 1);
  ASSERT_EQ(InternetResManager::AppendRecord(Main(), InternetValues{"Work", "http://b.example", 1}), 1);
  EXPECT_EQ(CurrentKind(), 6);
  EXPECT_EQ(Row(0), (std::vector<std::string>{"09:05:03 12/02/2003", "Odd", "http://a.example", "Others"}));
  EXPECT_EQ(Cell(1, 3), "Bussines");

  ASSERT_EQ(EmailResManager::AppendRecord(Main(), MakeEmail("Ann Lee", "ann@example.org", "school")), 1);
  EXPECT_EQ(Row(0),
            (std::vector<std::string>{"09:05:03 12/02/2003", "Ann Lee", "ann@example.org", "school"}));

  TimeNotifValues reminder{"Call", "Call the plumber", RecordTime{2004, 1, 0, 5, 7, 8, 9, 0}, 1};
  ASSERT_EQ(TimeNotifManager::AppendRecord(Main(), reminder), 1);
  EXPECT_EQ(Row(0),
            (std::vector<std::string>{"09:05:03 12/02/2003", "Call", "07:08:09 01/05/2004", "Urgent Note"}));

  // Values come back as they were given; a 300-character title is cut to 254.
  Select({0});
  TimeNotifValues read;
  ASSERT_EQ(TimeNotifManager::GetFocusedRecord(Main(), read), 1);
  EXPECT_EQ(read.text, "Call the plumber");
  EXPECT_EQ(read.time.hour, 7);
  EXPECT_EQ(read.type, 1);
  ASSERT_EQ(TimeNotifManager::ChangeFocusedRecord(
                Main(), TimeNotifValues{std::string(300, 't'), "x", reminder.time, 0}),
            1);
  EXPECT_EQ(Cell(0, 1), std::string(254, 't'));
  EXPECT_EQ(Cell(0, 3), "Normal Note");
  EXPECT_TRUE(boxes_.shown.empty());
}

TEST_F(ManagersTest, AnEditChangesTheDateAndTheTextsAndKeepsTheRowInPlace) {
  for (const char* title : {"first", "second", "third"}) {
    ASSERT_EQ(TextNoteManager::AppendRecord(Main(), NoteValues{title, std::string(title) + ".doc", 0}), 1);
  }
  const std::uint32_t middle = RowAddress(1);
  Select({1});
  NoteValues before;
  ASSERT_EQ(TextNoteManager::GetFocusedRecord(Main(), before), 1);
  EXPECT_EQ(before.title, "second");
  EXPECT_EQ(before.attachment, gTextNoteFolder + "second.doc");

  SetClock(14, 30, 15, 1, 9, 2004);
  ASSERT_EQ(TextNoteManager::ChangeFocusedRecord(Main(), NoteValues{"second, edited", "ignored.doc", 1}), 1);
  EXPECT_EQ(Row(1), (std::vector<std::string>{"14:30:15 01/09/2004", "second, edited", "Urgent Note"}));
  EXPECT_EQ(RowAddress(1), middle);
  EXPECT_EQ(Cell(0, 1), "first");
  EXPECT_EQ(Cell(2, 1), "third");
  EXPECT_EQ(Cell(0, 0), "09:05:03 12/02/2003");

  // The attachment name stayed; the next show lists the rows in the same order.
  NoteValues after;
  ASSERT_EQ(TextNoteManager::GetFocusedRecord(Main(), after), 1);
  EXPECT_EQ(after.attachment, gTextNoteFolder + "second.doc");
  ASSERT_TRUE(ShowRecords(RecordKind::TextNote, Main()));
  EXPECT_EQ(StoredTextNoteTitles(), (std::vector<std::string>{"first", "second, edited", "third"}));
  EXPECT_EQ(Row(1)[0], "14:30:15 01/09/2004");
}

TEST_F(ManagersTest, AFailedWriteLeavesTheRowShowingTheStoredValues) {
  ASSERT_EQ(AudioNoteManager::AppendRecord(Main(), NoteValues{"kept title", "AudioNote1.wav", 0}), 1);
  Select({0});
  const std::vector<std::string> before = Row(0);
  SetClock(10, 0, 0, 2, 1, 2004);
  // The write transfers half of the new record, then fails.
  gxInjectFault(gxFaultOp::Write, 1, false);
  EXPECT_EQ(AudioNoteManager::ChangeFocusedRecord(Main(), NoteValues{"never stored", "", 1}), 0);
  EXPECT_EQ(gxFaultsFired(), 1);
  gxClearFaults();
  EXPECT_EQ(Row(0), before);
  // What the row shows is what the store holds: the torn record was put back.
  NoteValues stored;
  ASSERT_EQ(AudioNoteManager::GetFocusedRecord(Main(), stored), 1);
  EXPECT_EQ(stored.title, "kept title");
  EXPECT_EQ(stored.noteType, 0);
  EXPECT_EQ(stored.attachment, "AudioNote1.wav");
  // The failure is told; no CRC warning follows: the record is whole.
  ASSERT_EQ(boxes_.shown.size(), 1u);
  EXPECT_NE(boxes_.shown[0].text.find("could not save the changes to the audio note"), std::string::npos);

  // A disk that keeps failing: the row still shows what was stored before.
  gxInjectFault(gxFaultOp::Write, 1, true);
  EXPECT_EQ(AudioNoteManager::ChangeFocusedRecord(Main(), NoteValues{"never stored", "", 1}), 0);
  gxClearFaults();
  EXPECT_EQ(Row(0), before);
}

TEST_F(ManagersTest, FocusedOperationsWithoutAFocusedRowDoNothing) {
  ASSERT_EQ(VideoNoteManager::AppendRecord(Main(), NoteValues{"only", "v.avi", 0}), 1);
  Select({});
  NoteValues values{"untouched", "", 5};
  EXPECT_EQ(VideoNoteManager::GetFocusedRecord(Main(), values), 0);
  EXPECT_EQ(values.title, "untouched");
  EXPECT_EQ(VideoNoteManager::ChangeFocusedRecord(Main(), NoteValues{"changed", "", 1}), 0);
  EXPECT_EQ(Cell(0, 1), "only");
  EXPECT_FALSE(SendMail(Main()));
  EXPECT_FALSE(BrowseResource(Main()));
  EXPECT_TRUE(gShellRequests.empty());
}

TEST_F(ManagersTest, AddingATextNoteWhilePhotosAreShownSwitchesToTextNotesWithTheNewRowLast) {
  ASSERT_EQ(TextNoteManager::AppendRecord(Main(), NoteValues{"older", "o.doc", 0}), 1);
  ASSERT_TRUE(ShowRecords(RecordKind::PhotoAlbum, Main()));
  ASSERT_EQ(CurrentKind(), 3);
  ASSERT_EQ(TextNoteManager::AppendRecord(Main(), NoteValues{"newest", "n.doc", 1}), 1);
  EXPECT_EQ(CurrentKind(), 0);
  EXPECT_EQ(Columns()[1].title, "Text Note Title");
  EXPECT_EQ(Buttons().front().command, 202);
  ASSERT_EQ(RowCount(), 2);
  EXPECT_EQ(Cell(1, 1), "newest");
}

TEST_F(ManagersTest, DeletingThreeAdjacentSelectedRowsRemovesAllThreeAndTheirFiles) {
  std::vector<std::string> files;
  for (int i = 0; i < 5; ++i) {
    std::string name = "TextNote" + std::to_string(i) + ".doc";
    files.push_back(MakeTextNoteFile(name));
    ASSERT_EQ(TextNoteManager::AppendRecord(Main(), NoteValues{"note " + std::to_string(i), name, 0}), 1);
  }
  Select({1, 2, 3});
  boxes_.answer = kIdYes;
  TextNoteManager::RemoveRecords(Main(), 0);
  ASSERT_EQ(RowCount(), 2);
  EXPECT_EQ(Cell(0, 1), "note 0");
  EXPECT_EQ(Cell(1, 1), "note 4");
  EXPECT_TRUE(FileExists(files[0]));
  EXPECT_FALSE(FileExists(files[1]));
  EXPECT_FALSE(FileExists(files[2]));
  EXPECT_FALSE(FileExists(files[3]));
  EXPECT_TRUE(FileExists(files[4]));
  EXPECT_EQ(StoredTextNoteTitles(), (std::vector<std::string>{"note 0", "note 4"}));
  // One question, naming the count and what goes, No as its default.
  ASSERT_EQ(boxes_.shown.size(), 1u);
  EXPECT_EQ(boxes_.shown[0].text, "Delete 3 text notes and their files?");
  EXPECT_EQ(boxes_.shown[0].style, kMbYesNo | kMbIconQuestion | kMbDefaultButton2);

  // Answered No, nothing goes.
  Select({0});
  boxes_.answer = kIdNo;
  TextNoteManager::RemoveRecords(Main(), 0);
  ASSERT_EQ(boxes_.shown.size(), 2u);
  EXPECT_EQ(boxes_.shown[1].text, "Delete 1 text note and its file?");
  EXPECT_EQ(RowCount(), 2);
  EXPECT_TRUE(FileExists(files[0]));

  // Nothing selected: nothing is asked and nothing happens.
  Select({});
  TextNoteManager::RemoveRecords(Main(), 0);
  EXPECT_EQ(RowCount(), 2);
  EXPECT_EQ(boxes_.shown.size(), 2u);
}

TEST_F(ManagersTest, DeleteAllAsksOnlyWhenThereIsSomethingAndDoesWhatTheAnswerSays) {
  ASSERT_TRUE(ShowRecords(RecordKind::TextNote, Main()));
  TextNoteManager::RemoveRecords(Main(), 1);
  EXPECT_TRUE(boxes_.shown.empty());

  std::vector<std::string> files;
  for (int i = 0; i < 3; ++i) {
    std::string name = "All" + std::to_string(i) + ".doc";
    files.push_back(MakeTextNoteFile(name));
    ASSERT_EQ(TextNoteManager::AppendRecord(Main(), NoteValues{"n" + std::to_string(i), name, 0}), 1);
  }
  const auto storeBytes = ReadFileText(StoreFilePath(RecordKind::TextNote));
  boxes_.answer = kIdNo;
  TextNoteManager::RemoveRecords(Main(), 1);
  ASSERT_EQ(boxes_.shown.size(), 1u);
  EXPECT_EQ(boxes_.shown[0].text, "Would you like to delete All Text Notes from Your Diary?");
  EXPECT_EQ(boxes_.shown[0].caption, "Quillmate");
  EXPECT_EQ(boxes_.shown[0].style, kMbYesNo | kMbIconQuestion | kMbDefaultButton2);
  EXPECT_EQ(boxes_.shown[0].owner, nullptr);
  EXPECT_EQ(RowCount(), 3);
  EXPECT_EQ(ReadFileText(StoreFilePath(RecordKind::TextNote)), storeBytes);
  for (const std::string& file : files) EXPECT_TRUE(FileExists(file));

  boxes_.answer = kIdYes;
  TextNoteManager::RemoveRecords(Main(), 1);
  EXPECT_EQ(boxes_.shown.size(), 2u);
  EXPECT_EQ(RowCount(), 0);
  for (const std::string& file : files) EXPECT_FALSE(FileExists(file));
  EXPECT_TRUE(StoredTextNoteTitles().empty());
  ASSERT_TRUE(ShowRecords(RecordKind::TextNote, Main()));
  EXPECT_EQ(RowCount(), 0);
}

TEST_F(ManagersTest, DeleteAllKeepsTheRowsOfRecordsThatCouldNotBeDeleted) {
  std::vector<std::string> files;
  for (int i = 0; i < 3; ++i) {
    std::string name = "Kept" + std::to_string(i) + ".doc";
    files.push_back(MakeTextNoteFile(name));
    ASSERT_EQ(TextNoteManager::AppendRecord(Main(), NoteValues{"k" + std::to_string(i), name, 0}), 1);
  }
  ASSERT_EQ(RowAddress(1), 845u + 28u);
  // The middle block's check word is broken behind the list's back.
  qmtest::Bytes disk = qmtest::ReadFileBytes(StoreFilePath(RecordKind::TextNote));
  disk[845] = 0;
  qmtest::WriteFileBytes(StoreFilePath(RecordKind::TextNote), disk);

  boxes_.answer = kIdYes;
  TextNoteManager::RemoveRecords(Main(), 1);
  ASSERT_EQ(RowCount(), 1);
  EXPECT_EQ(RowAddress(0), 845u + 28u);
  EXPECT_EQ(Cell(0, 1), "k1");
  EXPECT_FALSE(FileExists(files[0]));
  EXPECT_TRUE(FileExists(files[1]));  // its record is still there, so is its file
  EXPECT_FALSE(FileExists(files[2]));
  ASSERT_GE(boxes_.shown.size(), 2u);
  EXPECT_EQ(boxes_.shown[1].text, "Database Object CRC Error");
}

TEST_F(ManagersTest, DeletingAnEmailResourceRemovesOnlyItsRecordAndEachKindAsksItsOwnQuestion) {
  ASSERT_EQ(EmailResManager::AppendRecord(Main(), MakeEmail("Bob", "bob@example.org", "")), 1);
  ASSERT_EQ(EmailResManager::AppendRecord(Main(), MakeEmail("Eve", "eve@example.org", "")), 1);
  Select({0});
  boxes_.answer = kIdYes;
  EmailResManager::RemoveRecords(Main(), 0);
  ASSERT_EQ(RowCount(), 1);
  EXPECT_EQ(Cell(0, 1), "Eve");
  RemoveRecords(RecordKind::EmailRes, Main(), 1);
  ASSERT_EQ(boxes_.shown.size(), 2u);
  EXPECT_EQ(boxes_.shown[0].text, "Delete 1 e-mail address?");
  EXPECT_EQ(boxes_.shown[1].text, "Would you like to delete All E-mail Addresses from Your Diary?");
  EXPECT_EQ(RowCount(), 0);
}

TEST_F(ManagersTest, TimeNotificationChangesReachTheObserverWithTheirAddresses) {
  std::vector<std::string> events;
  RecordObserver observer;
  observer.onAdded = [&](const void* record) {
    auto& notification = *static_cast<const DatabaseDataTimeNotif*>(record);
    events.push_back("added " + RecordTextOf(notification.title) + " @" +
                     std::to_string(notification.ownAddress));
  };
  observer.onChanged = [&](const void* record) {
    auto& notification = *static_cast<const DatabaseDataTimeNotif*>(record);
    events.push_back("changed " + RecordTextOf(notification.title) + " @" +
                     std::to_string(notification.ownAddress) + " " + std::to_string(notification.time.hour));
  };
  observer.onRemoved = [&](std::uint32_t address) {
    events.push_back("removed @" + std::to_string(address));
  };
  observer.onRemovedAll = [&]() { events.push_back("removed all"); };
  SetRecordObserver(RecordKind::TimeNotif, observer);

  const RecordTime due{2004, 3, 0, 4, 8, 0, 0, 0};
  ASSERT_EQ(TimeNotifManager::AppendRecord(Main(), TimeNotifValues{"a", "text a", due, 0}), 1);
  ASSERT_EQ(TimeNotifManager::AppendRecord(Main(), TimeNotifValues{"b", "text b", due, 1}), 1);
  const std::string first = std::to_string(RowAddress(0));
  const std::string second = std::to_string(RowAddress(1));
  Select({1});
  RecordTime later = due;
  later.hour = 11;
  ASSERT_EQ(TimeNotifManager::ChangeFocusedRecord(Main(), TimeNotifValues{"b2", "text b", later, 1}), 1);
  // A failed rewrite tells the observer nothing.
  gxInjectFault(gxFaultOp::Write, 1, true);
  EXPECT_EQ(TimeNotifManager::ChangeFocusedRecord(Main(), TimeNotifValues{"b3", "", later, 1}), 0);
  gxClearFaults();
  Select({0});
  boxes_.answer = kIdYes;
  TimeNotifManager::RemoveRecords(Main(), 0);
  TimeNotifManager::RemoveRecords(Main(), 1);
  SetRecordObserver(RecordKind::TimeNotif, RecordObserver());

  EXPECT_EQ(events,
            (std::vector<std::string>{"added a @" + first, "added b @" + second,
                                      "changed b2 @" + second + " 11", "removed @" + first, "removed all"}));
}

}  // namespace
}  // namespace qmmanagers
