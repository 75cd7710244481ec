// The data folder, the record date text, attachment names with their
// collision loop (on a scripted clock), attachment paths and the
// message-box seam.
#include <deque>
#include <fstream>
#include <filesystem>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

#include "Records/AttachmentName.h"
#include "Records/DataFolders.h"
#include "Records/FileSystemPlatform.h"
#include "Records/LocalClock.h"
#include "Records/MessageBoxSeam.h"
#include "Records/TimeStamp.h"
#include "RecordsTestSupport.h"
#include "Support/RecordTimes.h"

namespace qmrecords {
namespace {

using qmtest::MakeTime;

// A clock that returns the scripted times in turn and counts its readings.
struct ScriptedClock {
  std::deque<RecordTime> times;
  int readings = 0;
  LocalClockSource Source() {
    return [this] {
      ++readings;
      RecordTime next = times.front();
      if (times.size() > 1) times.pop_front();
      return next;
    };
  }
};

void Touch(const std::string& path) {
  std::ofstream(path, std::ios::binary) << "x";
}

class DataFolderTest : public RecordsTest {};

TEST_F(DataFolderTest, MakeDataFoldersCreatesTheDataFolderAndFiveAttachmentFolders) {
  MakeDataFolders();
  const std::string sep(1, kPathSeparator);
  const std::string data = folder_.Path().string() + sep + "Quillmate" + sep;
  EXPECT_EQ(gDataFolder, data);
  EXPECT_EQ(gTextNoteFolder, data + "TextNotes" + sep);
  EXPECT_EQ(gAudioNoteFolder, data + "AudioNotes" + sep);
  EXPECT_EQ(gVideoNoteFolder, data + "VideoNotes" + sep);
  EXPECT_EQ(gPhotoFolder, data + "PhotoAlbum" + sep);
  EXPECT_EQ(gFastTextFolder, data + "FastText" + sep);
  EXPECT_EQ(&AttachmentFolder(RecordKind::PhotoAlbum), &gPhotoFolder);
  EXPECT_EQ(AttachmentFolder(RecordKind::EmailRes), "");
  for (const char* name : {"TextNotes", "AudioNotes", "VideoNotes", "PhotoAlbum", "FastText"})
    EXPECT_TRUE(std::filesystem::is_directory(folder_.Path() / "Quillmate" / name)) << name;
  EXPECT_FALSE(std::filesystem::exists(folder_.Path() / "Quillmate" / "TimeNotif"));
  MakeDataFolders();  // existing folders are fine
  EXPECT_TRUE(std::filesystem::is_directory(folder_.Path() / "Quillmate" / "FastText"));
}

TEST_F(DataFolderTest, TimeStampsAreHourMinuteSecondMonthDayYear) {
  EXPECT_EQ(FormatTimeStamp(MakeTime(2003, 12, 2, 9, 5, 3, 47)), "09:05:03 12/02/2003");
  EXPECT_EQ(FormatTimeStamp(MakeTime(1000, 1, 1, 0, 0, 0, 0)).size(), 19u);
  EXPECT_EQ(FormatTimeStamp(MakeTime(9999, 12, 31, 23, 59, 59, 999)), "23:59:59 12/31/9999");
  ScriptedClock clock{{MakeTime(2024, 2, 29, 23, 1, 2, 3)}};
  ScopedLocalClock scoped(clock.Source());
  std::string text;
  MakeTimeStamp(text);
  EXPECT_EQ(text, "23:01:02 02/29/2024");
  EXPECT_EQ(LocalNow().day, 29);

  // Sorting reads them back as times: the year counts before the month, and
  // texts that are no date sort before every date.
  EXPECT_LT(TimeStampOrder("23:59:59 12/31/2003"), TimeStampOrder("00:00:00 01/01/2004"));
  EXPECT_LT(TimeStampOrder("09:05:03 12/02/2003"), TimeStampOrder("09:05:04 12/02/2003"));
  EXPECT_EQ(TimeStampOrder("09:05:03 12/02/2003"), TimeStampOrder(FormatTimeStamp(MakeTime(2003, 12, 2, 9, 5, 3, 0)).c_str()));
  EXPECT_EQ(TimeStampOrder("not a date"), 0u);
  EXPECT_EQ(TimeStampOrder("09:05:03 12/02/2003x"), 0u);
  EXPECT_LT(0u, TimeStampOrder("00:00:00 01/01/0"));
}

TEST_F(DataFolderTest, AttachmentNamesAreTheTimeDigitsWithoutSeparators) {
  const std::string folder = folder_.Path().string() + kPathSeparator;
  EXPECT_EQ(FormatAttachmentName(folder, "TextNote", "doc", MakeTime(2003, 12, 2, 9, 5, 3, 47)),
            folder + "TextNote200312295347.doc");
  EXPECT_EQ(AttachmentExtensionOf("C:\\Pictures\\Holiday.JPG"), "jpg");
  EXPECT_EQ(AttachmentExtensionOf("/home/u/archive.tar.GZ"), "gz");
  EXPECT_EQ(AttachmentExtensionOf("C:\\Pictures\\Holiday"), "");
  EXPECT_EQ(AttachmentExtensionOf("C:\\my.photos\\Holiday"), "") << "a folder's dot is no extension";
  EXPECT_EQ(FormatAttachmentName(folder, "Photo", "", MakeTime(2003, 1, 1, 1, 1, 1, 1)),
            folder + "Photo2003111111.");
  EXPECT_EQ(BareFileName("C:\\a\\b\\TextNote1.doc"), "TextNote1.doc");
  EXPECT_EQ(BareFileName("plain.doc"), "plain.doc");
}

TEST_F(DataFolderTest, ATakenNameIsMadeAgainFromANewTimeUntilOneIsFree) {
  const std::string folder = folder_.Path().string() + kPathSeparator;
  // Same millisecond twice: the second request waits for the clock to move.
  const RecordTime t = MakeTime(2003, 12, 2, 9, 5, 3, 47);
  ScriptedClock clock{{t, t, t, t, MakeTime(2003, 12, 2, 9, 5, 3, 48)}};
  ScopedLocalClock scoped(clock.Source());
  std::string first;
  MakeAttachmentName(folder, "AudioNote", "wav", first);
  EXPECT_EQ(first, folder + "AudioNote200312295347.wav");
  EXPECT_EQ(clock.readings, 1);
  Touch(first);
  std::string second;
  MakeAttachmentName(folder, "AudioNote", "wav", second);
  EXPECT_EQ(second, folder + "AudioNote200312295348.wav");
  EXPECT_EQ(clock.readings, 5);

  // 1 November 12:03:04.005 and 11 November 2:03:04.005 give the same digits.
  ScriptedClock november{{MakeTime(2003, 11, 1, 12, 3, 4, 5), MakeTime(2003, 11, 11, 2, 3, 4, 5),
                          MakeTime(2003, 11, 11, 2, 3, 4, 6)}};
  ScopedLocalClock scopedNovember(november.Source());
  std::string a, b;
  MakeAttachmentName(folder, "TextNote", "doc", a);
  EXPECT_EQ(a, folder + "TextNote200311112345.doc");
  Touch(a);
  MakeAttachmentName(folder, "TextNote", "doc", b);
  EXPECT_EQ(b, folder + "TextNote200311112346.doc");
  EXPECT_EQ(november.readings, 3);
}

TEST_F(DataFolderTest, AnyNameThatExistsIsTakenAFolderAndAFileAnotherProgramHoldsOpenToo) {
  const std::string folder = folder_.Path().string() + kPathSeparator;
  ScriptedClock clock{{MakeTime(2004, 1, 2, 3, 4, 5, 6), MakeTime(2004, 1, 2, 3, 4, 5, 7),
                       MakeTime(2004, 1, 2, 3, 4, 5, 8)}};
  ScopedLocalClock scoped(clock.Source());
  // A folder that happens to bear the first name: no file can be made there.
  std::filesystem::create_directory(folder + "FastText2004123456.fst");
#ifdef _WIN32
  // Another program holds the second name open without sharing: it cannot
  // be read, but it is there, and creating it would fail.
  const std::string held = folder + "FastText2004123457.fst";
  Touch(held);
  HANDLE holder = CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
#else
  std::filesystem::create_directory(folder + "FastText2004123457.fst");
#endif
  std::string name;
  MakeAttachmentName(folder, "FastText", "fst", name);
  EXPECT_EQ(name, folder + "FastText2004123458.fst");
#ifdef _WIN32
  CloseHandle(holder);
#endif
}

TEST_F(DataFolderTest, OnlyBareStoredNamesAreJoinedToTheirFolder) {
  std::string path = "stale";
  EXPECT_TRUE(AttachmentPath("F" + std::string(1, kPathSeparator), "TextNote1.doc", path));
  EXPECT_EQ(path, "F" + std::string(1, kPathSeparator) + "TextNote1.doc");
  EXPECT_TRUE(AttachmentPath("F/", "..doc", path)) << "dots inside a name are fine";
  for (const char* bad : {"", ".", "..", "..\\..\\Windows\\win.ini", "sub/file.doc", "C:evil.doc",
                          "\\\\server\\share\\x", "/etc/passwd"}) {
    EXPECT_FALSE(AttachmentPath("F/", bad, path)) << bad;
    EXPECT_EQ(path, "") << bad;
  }
  EXPECT_FALSE(AttachmentPath("F/", nullptr, path));
  // Device names, with or without an extension or trailing blanks, and names
  // made only of dots and blanks are no file names either.
  for (const char* device : {"CON", "con", "NUL", "nul.txt", "PRN.doc", "AUX", "COM1", "com9.wav", "LPT1",
                             "Lpt3.fst", "CON .doc", "CONIN$", "...", " ", ". .", "  ..  "}) {
    EXPECT_FALSE(AttachmentPath("F/", device, path)) << device;
    EXPECT_EQ(path, "") << device;
  }
  for (const char* fine : {"CONSOLE.doc", "COM10.wav", "Nullify.fst", "LPT.doc", "Photo2003.", ".hidden"}) {
    EXPECT_TRUE(AttachmentPath("F/", fine, path)) << fine;
  }
}

TEST_F(DataFolderTest, WithoutAnApplicationDataFolderNothingIsMadeRelativeToTheWorkingDirectory) {
  const std::string before = gDataFolder;
  ScopedApplicationDataFolder unknown("");
  std::filesystem::path work = folder_.Path() / "work";
  std::filesystem::create_directories(work);
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(work);
  EXPECT_FALSE(MakeDataFolders());
  std::filesystem::current_path(previous);
  EXPECT_TRUE(std::filesystem::is_empty(work));
  EXPECT_EQ(gDataFolder, before);
}

TEST_F(DataFolderTest, ABoxWithoutNamedOwnerBelongsToTheWindowTheFinderNames) {
  int namedOwner = 0;
  std::vector<void*> owners;
  ScopedMessageBoxScript script([&](void* owner, const char*, const char*, unsigned) {
    owners.push_back(owner);
    return kIdOk;
  });
  ShowMessageBox(nullptr, "unowned", "", kMbOk);
  SetMessageBoxOwnerFinder([]() -> void* { return reinterpret_cast<void*>(0x1234); });
  ShowMessageBox(nullptr, "working window", "", kMbOk);
  ShowMessageBox(&namedOwner, "named", "", kMbOk);
  SetMessageBoxOwnerFinder(nullptr);
  ShowMessageBox(nullptr, "unowned again", "", kMbOk);
  EXPECT_EQ(owners, (std::vector<void*>{nullptr, reinterpret_cast<void*>(0x1234), &namedOwner, nullptr}));
}

TEST_F(DataFolderTest, MessageBoxScriptsNestAndUnansweredBoxesTakeTheirDefaultButton) {
  EXPECT_EQ(DefaultMessageBoxAnswer(kMbOk | kMbIconWarning), kIdOk);
  EXPECT_EQ(DefaultMessageBoxAnswer(kMbYesNo | kMbIconQuestion), kIdYes);
  EXPECT_EQ(DefaultMessageBoxAnswer(kMbYesNo | kMbDefaultButton2), kIdNo);
  EXPECT_EQ(DefaultMessageBoxAnswer(kMbYesNoCancel | kMbDefaultButton3), kIdCancel);
  EXPECT_EQ(DefaultMessageBoxAnswer(kMbRetryCancel), kIdRetry);

  boxes_.answer = kIdNo;
  EXPECT_EQ(ShowMessageBox(nullptr, "Delete?", "Quillmate", kMbYesNo | kMbIconQuestion), kIdNo);
  {
    std::vector<std::string> inner;
    ScopedMessageBoxScript scoped([&](void*, const char* text, const char*, unsigned) {
      inner.push_back(text);
      return kIdYes;
    });
    EXPECT_EQ(ShowMessageBox(nullptr, "Inner", nullptr, kMbYesNo), kIdYes);
    EXPECT_EQ(inner, std::vector<std::string>{"Inner"});
  }
  EXPECT_EQ(ShowMessageBox(reinterpret_cast<void*>(0x1234), "Outer", "Cap", kMbOk), kIdNo);
  ASSERT_EQ(boxes_.shown.size(), 2u);
  EXPECT_EQ(boxes_.shown[1].owner, reinterpret_cast<void*>(0x1234));
  EXPECT_EQ(boxes_.shown[1].text, "Outer");
  EXPECT_EQ(boxes_.shown[1].caption, "Cap");
}

}  // namespace
}  // namespace qmrecords
