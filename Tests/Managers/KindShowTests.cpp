// Showing each kind: columns, edit-toolbar buttons and progress positions
// read back from the real controls, and the store file made when missing.
#include "ManagersTestSupport.h"

#include "Managers/KindManager.h"
#include "Managers/RecordManager.h"
#include "Records/RecordKind.h"

namespace qmmanagers {
namespace {

struct ExpectedKind {
  RecordKind kind;
  std::vector<Column> columns;
  std::vector<Button> buttons;
  std::vector<int> progress;
};

Button Plain(int image, int command, const char* label) {
  return {image, command, label, false, true};
}
const Button kSeparator = {0, 0, "", true, true};

const std::vector<int> kUsualProgress = {10, 20, 30, 50, 50, 80, 100};

std::vector<ExpectedKind> ExpectedKinds() {
  return {
      {RecordKind::TextNote,
       {{"Date", 120, 0}, {"Text Note Title", 180, 0}, {"Note Type", 120, 0}},
       {Plain(6, 202, "Edit"), kSeparator, Plain(8, 204, "Delete"), kSeparator, Plain(13, 205, "Delete All")},
       kUsualProgress},
      {RecordKind::AudioNote,
       {{"Date", 120, 0}, {"Audio Note Title", 180, 0}, {"Note Type", 120, 0}},
       {Plain(6, 211, "Edit/Play"), kSeparator, Plain(8, 212, "Delete"), kSeparator,
        Plain(13, 213, "Delete All")},
       kUsualProgress},
      {RecordKind::VideoNote,
       {{"Date", 120, 0}, {"Video Note Title", 180, 0}, {"Note Type", 120, 0}},
       {Plain(6, 221, "Edit/Play"), kSeparator, Plain(8, 222, "Delete"), kSeparator,
        Plain(13, 223, "Delete All")},
       kUsualProgress},
      {RecordKind::PhotoAlbum,
       {{"Date", 120, 0}, {"Photo Title", 180, 0}, {"Photo Comment", 180, 0}},
       {Plain(6, 232, "Edit"), kSeparator, Plain(8, 234, "Delete"), kSeparator, Plain(13, 235, "Delete All"),
        kSeparator, Plain(12, 230, "Photo Album")},
       {10, 20, 30, 40, 50, 80, 100}},
      {RecordKind::TimeNotif,
       {{"Date", 120, 0},
        {"Time Notification Title", 180, 0},
        {"Notification Time", 120, 0},
        {"Type", 120, 0}},
       {Plain(6, 241, "Edit"), kSeparator, Plain(8, 242, "Delete"), kSeparator, Plain(13, 243, "Delete All")},
       kUsualProgress},
      {RecordKind::EmailRes,
       {{"Date", 120, 0}, {"Full Name", 180, 0}, {"Email", 180, 0}, {"Comment", 120, 0}},
       {Plain(6, 251, "Edit"), Plain(9, 256, "Send Mail"), kSeparator, Plain(8, 253, "Delete"),
        Plain(13, 254, "Delete All")},
       kUsualProgress},
      {RecordKind::InternetRes,
       {{"Date", 120, 0},
        {"Internet Resource Title", 180, 0},
        {"Internet Address", 180, 0},
        {"Resource Type", 120, 0}},
       {Plain(6, 261, "Edit"), Plain(9, 266, "Browse"), kSeparator, Plain(8, 263, "Delete"), kSeparator,
        Plain(13, 264, "Delete All")},
       kUsualProgress},
      {RecordKind::FastText,
       {{"Date", 120, 0}, {"Fast Text Title", 180, 0}},
       {Plain(6, 271, "Edit"), kSeparator, Plain(8, 273, "Delete"), kSeparator, Plain(13, 274, "Delete All")},
       {10, 50, 50, 80, 100}},
  };
}

void ExpectColumns(const std::vector<Column>& actual, const std::vector<Column>& expected) {
  ASSERT_EQ(actual.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(actual[i].title, expected[i].title) << "column " << i;
    EXPECT_EQ(actual[i].width, expected[i].width) << "column " << i;
    EXPECT_EQ(actual[i].format, LVCFMT_LEFT) << "column " << i;
  }
}

void ExpectButtons(const std::vector<Button>& actual, const std::vector<Button>& expected) {
  ASSERT_EQ(actual.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(actual[i].separator, expected[i].separator) << "button " << i;
    EXPECT_TRUE(actual[i].enabled) << "button " << i;
    if (expected[i].separator) {
      EXPECT_EQ(actual[i].command, 0) << "button " << i;
      continue;
    }
    EXPECT_EQ(actual[i].image, expected[i].image) << "button " << i;
    EXPECT_EQ(actual[i].command, expected[i].command) << "button " << i;
    EXPECT_EQ(actual[i].label, expected[i].label) << "button " << i;
  }
}

TEST_F(ManagersTest, EachKindShowsItsColumnsButtonsAndProgressAndCreatesItsMissingStore) {
  // Start from a list that shows something else, so that every show has
  // columns, rows and buttons to replace.
  TextNoteManager::AppendRecord(Main(), NoteValues{"left over", "x.doc", 0});
  ASSERT_EQ(RowCount(), 1);
  for (const ExpectedKind& expected : ExpectedKinds()) {
    SCOPED_TRACE(RecordKindInfoOf(expected.kind).storeName);
    const std::string store = StoreFilePath(expected.kind);
    if (expected.kind != RecordKind::TextNote) {
      ASSERT_FALSE(FileExists(store));
    }
    Progress();
    window_->TakeHiddenAtAStep();
    ASSERT_TRUE(ShowRecords(expected.kind, Main()));
    EXPECT_EQ(CurrentKind(), static_cast<int>(expected.kind));
    ExpectColumns(Columns(), expected.columns);
    ExpectButtons(Buttons(), expected.buttons);
    EXPECT_EQ(Progress(), expected.progress);
    EXPECT_EQ(SendMessageA(window_->ProgressBar(), PBM_GETPOS, 0, 0), 100);
    // On screen at every step while the list fills, gone once it is full.
    EXPECT_FALSE(window_->TakeHiddenAtAStep());
    EXPECT_FALSE(IsWindowVisible(window_->ProgressBar()));
    if (expected.kind != RecordKind::TextNote) {
      EXPECT_EQ(RowCount(), 0);
      EXPECT_EQ(std::filesystem::file_size(store), 40u);  // an empty database
    }
    // Showing again replaces the buttons instead of adding to them.
    ASSERT_TRUE(ShowRecords(expected.kind, Main()));
    ExpectButtons(Buttons(), expected.buttons);
    ExpectColumns(Columns(), expected.columns);
  }
  EXPECT_TRUE(boxes_.shown.empty());
}

TEST_F(ManagersTest, RepeatedShowsKeepTheEditToolbarsStringListBounded) {
  auto describe = [this]() {
    std::vector<std::string> described;
    for (const Button& button : Buttons())
      described.push_back(std::to_string(button.image) + "/" + std::to_string(button.command) + "/" +
                          button.label);
    return described;
  };
  ASSERT_TRUE(ShowRecords(RecordKind::TextNote, Main()));
  const std::vector<std::string> textNoteButtons = describe();
  ASSERT_EQ(textNoteButtons.size(), 5u);
  for (int round = 0; round < 5; ++round) {
    for (int kind = 0; kind < kRecordKindCount; ++kind) {
      ASSERT_TRUE(ShowRecords(static_cast<RecordKind>(kind), Main()));
    }
  }
  ASSERT_TRUE(ShowRecords(RecordKind::TextNote, Main()));
  EXPECT_EQ(describe(), textNoteButtons);
  int strings = 0;
  for (;; ++strings) {
    char text[64] = {};
    if (SendMessageA(window_->EditToolbar(), TB_GETSTRINGA, MAKEWPARAM(sizeof text, strings),
                     reinterpret_cast<LPARAM>(text)) < 0)
      break;
  }
  // Edit, Edit/Play, Delete, Delete All, Photo Album, Send Mail, Browse.
  EXPECT_EQ(strings, 7);
}

TEST_F(ManagersTest, AStoreThatCannotBeOpenedLeavesListAndToolbarAsTheyWere) {
  ASSERT_TRUE(TextNoteManager::AppendRecord(Main(), NoteValues{"kept", "a.doc", 1}));
  // Something that is no database where the audio store should be.
  WriteFileText(StoreFilePath(RecordKind::AudioNote), "not a database at all, just text......");
  EXPECT_FALSE(ShowRecords(RecordKind::AudioNote, Main()));
  EXPECT_EQ(CurrentKind(), 0);
  ASSERT_EQ(RowCount(), 1);
  EXPECT_EQ(Cell(0, 1), "kept");
  EXPECT_EQ(Buttons().front().command, 202);
  EXPECT_EQ(Columns()[1].title, "Text Note Title");
  // Adding to it fails and leaves the file alone.
  EXPECT_EQ(AudioNoteManager::AppendRecord(Main(), NoteValues{"x", "y.wav", 0}), 0);
  EXPECT_EQ(ReadFileText(StoreFilePath(RecordKind::AudioNote)), "not a database at all, just text......");
}

TEST_F(ManagersTest, EnsureStoreCreatesEveryMissingStoreOnceAndKeepsExistingOnes) {
  for (int index = 0; index < kRecordKindCount; ++index) {
    RecordKind kind = static_cast<RecordKind>(index);
    EXPECT_TRUE(EnsureStore(kind));
    EXPECT_EQ(std::filesystem::file_size(StoreFilePath(kind)), 40u);
  }
  ASSERT_TRUE(EmailResManager::AppendRecord(Main(), MakeEmail("Ann", "ann@example.org", "")));
  const auto size = std::filesystem::file_size(StoreFilePath(RecordKind::EmailRes));
  EXPECT_TRUE(EmailResManager::EnsureStore());
  EXPECT_EQ(std::filesystem::file_size(StoreFilePath(RecordKind::EmailRes)), size);
}

}  // namespace
}  // namespace qmmanagers
