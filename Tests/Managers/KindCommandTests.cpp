// The kinds' own commands: adding and stepping through photos, mail and
// browse requests, and the fast texts' attachments.
#include "ManagersTestSupport.h"

#include <algorithm>

#include "Managers/KindManager.h"
#include "Managers/PhotoAlbum.h"
#include "Managers/RecordManager.h"
#include "Managers/ShellRequests.h"
#include "Records/AttachmentName.h"

namespace qmmanagers {
namespace {

TEST_F(ManagersTest, AddPhotoFromAReadOnlyUpperCaseJpgGivesAWritableLowerCaseCopy) {
  const std::string source = PathOf("Holiday.Pictures\\BEACH.JPG");
  std::filesystem::create_directories(PathOf("Holiday.Pictures"));
  WriteFileText(source, "not really a jpeg");
  ASSERT_TRUE(SetFileAttributesA(source.c_str(), FILE_ATTRIBUTE_READONLY));

  ASSERT_TRUE(ShowRecords(RecordKind::TextNote, Main()));
  ASSERT_TRUE(AddPhoto(Main(), "Beach", "sunny", source, true));
  EXPECT_EQ(CurrentKind(), 3);
  ASSERT_EQ(RowCount(), 1);
  EXPECT_EQ(Row(0), (std::vector<std::string>{"09:05:03 12/02/2003", "Beach", "sunny"}));

  Select({0});
  PhotoValues values;
  ASSERT_EQ(PhotoAlbumManager::GetFocusedRecord(Main(), values), 1);
  const std::string copy = values.picturePath;
  EXPECT_EQ(copy.rfind(gPhotoFolder + "Photo", 0), 0u) << copy;
  EXPECT_EQ(copy.substr(copy.size() - 4), ".jpg");
  EXPECT_EQ(ReadFileText(copy), "not really a jpeg");
  DWORD attributes = GetFileAttributesA(copy.c_str());
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(attributes & FILE_ATTRIBUTE_READONLY, 0u);

  // The photo's record can be edited and deleted with its copy.
  ASSERT_EQ(PhotoAlbumManager::ChangeFocusedRecord(Main(), PhotoValues{"Beach 2", "windy", "ignored"}), 1);
  EXPECT_EQ(Cell(0, 2), "windy");
  boxes_.answer = kIdYes;
  PhotoAlbumManager::RemoveRecords(Main(), 0);
  EXPECT_FALSE(FileExists(copy));

  SetFileAttributesA(source.c_str(), FILE_ATTRIBUTE_NORMAL);
  // Only the question, which names the album's copy, not the original.
  ASSERT_EQ(boxes_.shown.size(), 1u);
  EXPECT_EQ(boxes_.shown[0].text, "Delete 1 photo and the album's copy?");
}

TEST_F(ManagersTest, AFailedPhotoCopyTellsTheUserAndAddsNothing) {
  ASSERT_TRUE(ShowRecords(RecordKind::PhotoAlbum, Main()));
  EXPECT_FALSE(AddPhoto(Main(), "Gone", "", PathOf("missing.png"), false));
  ASSERT_EQ(boxes_.shown.size(), 1u);
  EXPECT_EQ(boxes_.shown[0].text, "File IO error - Copying to Application Data Dir.");
  EXPECT_EQ(boxes_.shown[0].caption, "Quillmate");
  EXPECT_EQ(boxes_.shown[0].style, kMbOk | kMbIconError);
  EXPECT_EQ(boxes_.shown[0].owner, nullptr);
  EXPECT_EQ(RowCount(), 0);
  EXPECT_EQ(std::filesystem::file_size(StoreFilePath(RecordKind::PhotoAlbum)), 40u);
  EXPECT_TRUE(std::filesystem::is_empty(gPhotoFolder));
}

TEST_F(ManagersTest, StepAlbumMovesOneRowAndClampsWithoutWrappingAround) {
  PhotoValues values{"untouched", "", ""};
  int position = 5;
  ASSERT_TRUE(ShowRecords(RecordKind::PhotoAlbum, Main()));
  EXPECT_FALSE(StepAlbum(Main(), values, false, position, true));
  EXPECT_EQ(position, 5);
  EXPECT_EQ(values.title, "untouched");

  for (const char* title : {"p0", "p1", "p2"}) {
    const std::string source = PathOf(std::string(title) + ".png");
    WriteFileText(source, title);
    ASSERT_TRUE(AddPhoto(Main(), title, std::string("c") + title, source, false));
  }
  struct Step {
    bool back;
    bool first;
    int position;
  };
  position = 0;
  const Step steps[] = {{false, true, 0},  {true, false, 0}, {false, false, 1}, {false, false, 2},
                        {false, false, 2}, {true, false, 1}, {false, true, 1}};
  for (const Step& step : steps) {
    ASSERT_TRUE(StepAlbum(Main(), values, step.back, position, step.first));
    EXPECT_EQ(position, step.position);
    const std::string title = "p" + std::to_string(step.position);
    EXPECT_EQ(values.title, title);
    EXPECT_EQ(values.comment, "c" + title);
    EXPECT_EQ(ReadFileText(values.picturePath), title);
  }
  position = 40;  // a position beyond the list is clamped too
  ASSERT_TRUE(StepAlbum(Main(), values, true, position, false));
  EXPECT_EQ(position, 2);
}

TEST_F(ManagersTest, SendMailAndBrowseHandTheFocusedAddressToTheShell) {
  ASSERT_EQ(EmailResManager::AppendRecord(Main(), MakeEmail("Ann", "ann@example.org", "")), 1);
  ASSERT_EQ(EmailResManager::AppendRecord(Main(), MakeEmail("Bob", "bob@example.org", "")), 1);
  Select({1});
  EXPECT_TRUE(SendMail(Main()));
  ASSERT_EQ(gShellRequests.size(), 1u);
  EXPECT_EQ(gShellRequests[0].window, Main());
  EXPECT_EQ(gShellRequests[0].verb, "open");
  EXPECT_EQ(gShellRequests[0].file, "mailto:bob@example.org");
  EXPECT_FALSE(gShellRequests[0].hasParameters);
  EXPECT_FALSE(gShellRequests[0].hasDirectory);
  EXPECT_EQ(gShellRequests[0].showCommand, SW_SHOWNORMAL);

  ASSERT_EQ(InternetResManager::AppendRecord(Main(), InternetValues{"News", "http://news.example/today", 3}),
            1);
  Select({0});
  EXPECT_TRUE(BrowseResource(Main()));
  ASSERT_EQ(gShellRequests.size(), 2u);
  EXPECT_EQ(gShellRequests[1].file, "http://news.example/today");
  EXPECT_EQ(gShellRequests[1].verb, "open");
}

TEST_F(ManagersTest, FastTextsKeepTheirTextExactlyInTheirAttachment) {
  const std::string text = "Dear Sir,\r\nthank you.\r\n";
  ASSERT_EQ(FastTextManager::AppendRecord(Main(), FastTextValues{"Thanks", text}), 1);
  ASSERT_EQ(RowCount(), 1);
  EXPECT_EQ(Row(0), (std::vector<std::string>{"09:05:03 12/02/2003", "Thanks"}));
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(gFastTextFolder)) {
    files.push_back(entry.path().filename().string());
  }
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(files[0].rfind("FastText", 0), 0u);
  EXPECT_EQ(files[0].substr(files[0].size() - 4), ".fst");
  EXPECT_EQ(ReadFileText(gFastTextFolder + files[0]), text);

  Select({0});
  FastTextValues read;
  ASSERT_EQ(FastTextManager::GetFocusedRecord(Main(), read), 1);
  EXPECT_EQ(read.title, "Thanks");
  EXPECT_EQ(read.text, text);

  SetClock(8, 0, 0, 6, 1, 2004);
  ASSERT_EQ(FastTextManager::ChangeFocusedRecord(Main(), FastTextValues{"Short", "Hi"}), 1);
  EXPECT_EQ(Row(0), (std::vector<std::string>{"08:00:00 06/01/2004", "Short"}));
  EXPECT_EQ(ReadFileText(gFastTextFolder + files[0]), "Hi");

  // A missing attachment is a file error: the editor still gets the title.
  ASSERT_TRUE(DeleteFileA((gFastTextFolder + files[0]).c_str()));
  FastTextValues missing;
  EXPECT_EQ(FastTextManager::GetFocusedRecord(Main(), missing), 0);
  EXPECT_EQ(missing.title, "Short");
  ASSERT_EQ(boxes_.shown.size(), 1u);
  EXPECT_EQ(boxes_.shown[0].caption, "Quillmate");
  EXPECT_FALSE(boxes_.shown[0].text.empty());

  // Deleting the fast text deletes its attachment.
  ASSERT_EQ(FastTextManager::AppendRecord(Main(), FastTextValues{"Second", "two"}), 1);
  Select({1});
  boxes_.answer = kIdYes;
  FastTextManager::RemoveRecords(Main(), 0);
  EXPECT_TRUE(std::filesystem::is_empty(gFastTextFolder));
}

TEST_F(ManagersTest, AFastTextTheStoreRefusesLeavesNoAttachmentBehind) {
  ASSERT_TRUE(ShowRecords(RecordKind::FastText, Main()));
  // The store's write fails; the attachment was written through CFile.
  gxInjectFault(gxFaultOp::Write, 1, true);
  EXPECT_EQ(FastTextManager::AppendRecord(Main(), FastTextValues{"lost", "text"}), 0);
  gxClearFaults();
  EXPECT_EQ(RowCount(), 0);
  EXPECT_TRUE(std::filesystem::is_empty(gFastTextFolder));
}

TEST_F(ManagersTest, AddPhotoNeverOverwritesAFileThatExistsButCannotBeRead) {
  const std::string source = PathOf("cat.png");
  WriteFileText(source, "the new picture");
  // Files under the next names the clock will give, held open by another
  // program that lets nobody read them: they look free to the name maker.
  std::vector<HANDLE> held;
  std::vector<std::string> names;
  RecordTime time = now_;
  for (int ms = 0; ms < 40; ++ms) {
    time.milliseconds = static_cast<std::uint16_t>((now_.milliseconds + ms) % 1000);
    names.push_back(FormatAttachmentName(gPhotoFolder, "Photo", "png", time));
    WriteFileText(names.back(), "someone else's picture");
    held.push_back(CreateFileA(names.back().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_NE(held.back(), INVALID_HANDLE_VALUE);
  }
  ASSERT_TRUE(AddPhoto(Main(), "Cat", "", source, true));
  for (HANDLE handle : held) CloseHandle(handle);

  for (const std::string& name : names) EXPECT_EQ(ReadFileText(name), "someone else's picture") << name;
  Select({0});
  PhotoValues values;
  ASSERT_EQ(PhotoAlbumManager::GetFocusedRecord(Main(), values), 1);
  EXPECT_EQ(std::find(names.begin(), names.end(), values.picturePath), names.end());
  EXPECT_EQ(ReadFileText(values.picturePath), "the new picture");
  EXPECT_TRUE(boxes_.shown.empty());
}

}  // namespace
}  // namespace qmmanagers
