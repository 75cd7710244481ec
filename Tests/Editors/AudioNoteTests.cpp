// The audio note editor (dialog 5000) and properties dialog (12000), opened
// by the main window's commands and worked through their controls inside
// their own modal loops: takes recorded from the known signal, saved,
// overwritten, thrown away; a saved note played, positioned and re-titled.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <filesystem>
#include <memory>
#include <set>

#include "Editors/AudioNoteEditor.h"
#include "Managers/KindManager.h"
#include "Managers/RecordManager.h"
#include "Managers/ShellRequests.h"
#include "Media/CMediaPlayer.h"
#include "Media/CWaveFile.h"
#include "Media/CWaveRecorder.h"
#include "Records/DataFolders.h"
#include "Records/DatabaseObject.h"
#include "Records/RecordText.h"
#include "Resources/AudioNoteIds.h"
#include "Resources/MainWindowIds.h"
#include "Support/CaptureSignal.h"
#include "Support/DialogDriver.h"
#include "Support/FileBytes.h"
#include "Support/MessagePump.h"
#include "Support/RecordedMessageBoxes.h"
#include "Support/ScratchFolder.h"
#include "Support/TestMainWindow.h"

using namespace qmtest;

namespace {

constexpr DWORD kWaitMs = 20000;
// An act that records or plays waits inside the dialog's loop.
constexpr DWORD kActBoundMs = 60000;

const std::set<std::string> kMixerWarnings = {"Device does not have mixer support!",
                                              "Device does not have a WAVE recording control!",
                                              "ERROR: There are no WAVE inputs to adjust!"};

std::string StatusText(HWND dialog, int part = 1) {
  char text[64] = {};
  SendDlgItemMessageA(dialog, IDC_AUDIO_STATUS_BAR, SB_GETTEXTA, part, reinterpret_cast<LPARAM>(text));
  return text;
}

const char kSizeLimitReached[] =
    "The recording reached the largest size a sound file can have and was stopped. What was recorded so far was "
    "kept.";
const char kNotCompleted[] =
    "The recording could not be completed: its file is not a whole sound file and cannot be saved. Please record "
    "it again.";

bool Enabled(HWND dialog, int id) {
  return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE;
}

bool RecordedAtLeast(std::uint32_t bytes) {
  return PumpUntil([bytes] { return WaveRecorder().DataBytes() >= bytes; }, kWaitMs);
}

int SliderPosition(HWND dialog) {
  return static_cast<int>(SendDlgItemMessageA(dialog, IDC_AUDIO_PROPERTIES_POSITION, TBM_GETPOS, 0, 0));
}

int SliderMaximum(HWND dialog) {
  return static_cast<int>(SendDlgItemMessageA(dialog, IDC_AUDIO_PROPERTIES_POSITION, TBM_GETRANGEMAX, 0, 0));
}

void Slide(HWND dialog, int code, int position) {
  HWND slider = GetDlgItem(dialog, IDC_AUDIO_PROPERTIES_POSITION);
  SendMessageA(slider, TBM_SETPOS, TRUE, position);
  SendMessageA(dialog, WM_HSCROLL, MAKEWPARAM(code, position), reinterpret_cast<LPARAM>(slider));
}

// The shell as the volume control sees it: programs that exist start.
std::vector<std::string> gStartedPrograms;
std::set<std::string> gExistingPrograms;
HINSTANCE WINAPI StartProgram(HWND, const char* verb, const char* file, const char* parameters, const char*,
                              int show) {
  gStartedPrograms.push_back(std::string(verb) + " " + file + " [" + parameters + "] " + std::to_string(show));
  return reinterpret_cast<HINSTANCE>(
      static_cast<INT_PTR>(gExistingPrograms.count(file) ? 42 : ERROR_FILE_NOT_FOUND));
}

class AudioNoteTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_appData = std::make_unique<ScopedApplicationDataFolder>(m_folder.Path().string());
    MakeDataFolders();
    m_main = std::make_unique<TestMainWindow>();
    ASSERT_TRUE(EnsureStore(RecordKind::AudioNote));
  }

  void TearDown() override {
    gShellExecute = m_shellExecute;
    m_main.reset();
    m_appData.reset();
  }

  std::vector<DatabaseDataAudioNote> StoredNotes() const {
    std::vector<DatabaseDataAudioNote> notes;
    if (auto store = OpenStore<DatabaseDataAudioNote>()) {
      store->ForEachRecordOf([&notes](const DatabaseDataAudioNote& note, std::uint32_t) { notes.push_back(note); });
      CloseStore(store);
    }
    return notes;
  }

  // The files in the audio notes folder.
  std::vector<std::string> SoundFiles() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(gAudioNoteFolder)) {
      names.push_back(entry.path().filename().string());
    }
    return names;
  }

  void ExpectOnlyMixerWarnings() const {
    for (const ShownBox& box : m_boxes.shown) EXPECT_TRUE(kMixerWarnings.count(box.text)) << box.text;
  }

  // Boxes other than the test device's mixer warnings.
  std::vector<ShownBox> OtherBoxes() const {
    std::vector<ShownBox> boxes;
    for (const ShownBox& box : m_boxes.shown) {
      if (!kMixerWarnings.count(box.text)) boxes.push_back(box);
    }
    return boxes;
  }

  // A saved note of `seconds` of sound, as the editor would have left it.
  void StoreNote(const std::string& title, const std::string& fileName, int seconds) {
    WriteToneWave(gAudioNoteFolder + fileName, seconds);
    ASSERT_EQ(AudioNoteManager::AppendRecord(m_main->Handle(), {title, fileName, 0}), 1);
  }

  ScratchFolder m_folder{"qm-an"};
  RecordedMessageBoxes m_boxes{RecordedMessageBoxes::kDefaultButton};
  std::unique_ptr<ScopedApplicationDataFolder> m_appData;
  std::unique_ptr<TestMainWindow> m_main;
  ShellExecuteFunction m_shellExecute = gShellExecute;
};

}  // namespace

TEST_F(AudioNoteTest, TwoTakesFromTwoDevicesLeaveOnlyTheSecondWhichIsSavedWithTitleAndType) {
  std::uint32_t secondTake = 0;
  ASSERT_TRUE(DriveDialog(
      "Audio Note", [this] { m_main->Command(IDM_ADD_AUDIO_NOTE); },
      [&](HWND dialog) {
        EXPECT_EQ(StatusText(dialog), "Ready");
        EXPECT_TRUE(Enabled(dialog, IDC_AUDIO_START_RECORD));
        EXPECT_FALSE(Enabled(dialog, IDC_AUDIO_STOP));
        EXPECT_FALSE(Enabled(dialog, IDC_AUDIO_SAVE));
        EXPECT_EQ(TextOf(dialog, IDC_AUDIO_TYPE), "Normal");
        EXPECT_EQ(ChosenListItem(dialog, IDC_AUDIO_DEVICE), 0);
        EXPECT_EQ(TextOf(dialog, IDC_AUDIO_DEVICE), "Default");
        EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_AUDIO_DEVICE, CB_GETCOUNT, 0, 0),
                  static_cast<LRESULT>(CWaveRecorder::DeviceCount() + 1));

        Press(dialog, IDC_AUDIO_START_RECORD);
        EXPECT_EQ(StatusText(dialog), "Recording...");
        EXPECT_FALSE(Enabled(dialog, IDC_AUDIO_START_RECORD));
        EXPECT_TRUE(Enabled(dialog, IDC_AUDIO_STOP));
        ASSERT_TRUE(RecordedAtLeast(3 * kWaveBufferBytes));
        Press(dialog, IDC_AUDIO_STOP);
        EXPECT_EQ(StatusText(dialog), "Stopped");
        EXPECT_TRUE(Enabled(dialog, IDC_AUDIO_START_RECORD));
        EXPECT_FALSE(Enabled(dialog, IDC_AUDIO_STOP));
        EXPECT_TRUE(Enabled(dialog, IDC_AUDIO_SAVE));
        EXPECT_FALSE(WaveRecorder().IsRecording());

        // The first device by name, then a shorter take.
        ChooseListItem(dialog, IDC_AUDIO_DEVICE, 1);
        Press(dialog, IDC_AUDIO_START_RECORD);
        EXPECT_EQ(StatusText(dialog), "Recording...");
        ASSERT_TRUE(RecordedAtLeast(1));
        Press(dialog, IDC_AUDIO_STOP);
        secondTake = WaveRecorder().DataBytes();

        TypeText(dialog, IDC_AUDIO_TITLE, "Call the plumber");
        ChooseListItem(dialog, IDC_AUDIO_TYPE, 1);
        Press(dialog, IDC_AUDIO_SAVE);
      },
      kActBoundMs));

  std::vector<DatabaseDataAudioNote> notes = StoredNotes();
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_EQ(RecordTextOf(notes[0].title), "Call the plumber");
  EXPECT_EQ(notes[0].noteType, 1);
  const std::string fileName = RecordTextOf(notes[0].fileName);
  EXPECT_EQ(fileName.rfind("AudioNote", 0), 0u);
  EXPECT_EQ(SoundFiles(), std::vector<std::string>{fileName});
  EXPECT_EQ(CheckWaveOfSignal(gAudioNoteFolder + fileName, secondTake), "");

  EXPECT_EQ(CurrentKind(), static_cast<int>(RecordKind::AudioNote));
  std::vector<Row> rows = m_main->Rows();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].texts[1], "Call the plumber");
  EXPECT_EQ(rows[0].texts[2], "Urgent Note");
  ExpectOnlyMixerWarnings();
}

TEST_F(AudioNoteTest, SaveChecksTitleAndRecordingAndStopsARunningTakeFirst) {
  std::uint32_t savedTake = 0;
  ASSERT_TRUE(DriveDialog(
      "Audio Note", [this] { m_main->Command(IDM_ADD_AUDIO_NOTE); },
      [&](HWND dialog) {
        Press(dialog, IDC_AUDIO_START_RECORD);
        ASSERT_TRUE(RecordedAtLeast(1));
        Press(dialog, IDC_AUDIO_STOP);
        const std::string path = gAudioNoteFolder + SoundFiles().at(0);

        // No title.
        Press(dialog, IDC_AUDIO_SAVE);
        ASSERT_EQ(OtherBoxes().size(), 1u);
        EXPECT_EQ(OtherBoxes()[0].text, "Please insert Audio Note Title.");
        EXPECT_EQ(OtherBoxes()[0].caption, "Audio Note");
        EXPECT_EQ(OtherBoxes()[0].style, kMbOk | kMbIconWarning);
        EXPECT_EQ(OtherBoxes()[0].owner, dialog);

        // A recording shorter than 2 bytes, then none at all.
        TypeText(dialog, IDC_AUDIO_TITLE, "Groceries");
        WriteFileText(path, "x");
        Press(dialog, IDC_AUDIO_SAVE);
        ASSERT_EQ(OtherBoxes().size(), 2u);
        EXPECT_EQ(OtherBoxes()[1].text, "Please record some Audio Note first.");
        EXPECT_EQ(OtherBoxes()[1].caption, "Audio Note");
        DeleteFileA(path.c_str());
        Press(dialog, IDC_AUDIO_SAVE);
        ASSERT_EQ(OtherBoxes().size(), 3u);
        EXPECT_FALSE(OtherBoxes()[2].text.empty());  // the system's text for "file not found"
        EXPECT_EQ(OtherBoxes()[2].caption, "Quillmate");
        EXPECT_EQ(OtherBoxes()[2].style, kMbOk | kMbIconError);
        EXPECT_TRUE(IsWindow(dialog));
        EXPECT_TRUE(StoredNotes().empty());

        // Save during a take ends the take first.
        Press(dialog, IDC_AUDIO_START_RECORD);
        ASSERT_TRUE(RecordedAtLeast(2 * kWaveBufferBytes));
        Press(dialog, IDC_AUDIO_SAVE);
        EXPECT_FALSE(WaveRecorder().IsRecording());
        savedTake = WaveRecorder().DataBytes();
      },
      kActBoundMs));

  std::vector<DatabaseDataAudioNote> notes = StoredNotes();
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_EQ(RecordTextOf(notes[0].title), "Groceries");
  EXPECT_EQ(notes[0].noteType, 0);
  EXPECT_EQ(CheckWaveOfSignal(gAudioNoteFolder + RecordTextOf(notes[0].fileName), savedTake), "");
  EXPECT_EQ(OtherBoxes().size(), 3u);
}

TEST_F(AudioNoteTest, CloseDuringATakeEndsItAndAsksEscEndsItAndKeepsItAndSettingsFallsBackThenSaysSo) {
  // Close during a take ends the take, then asks; No keeps the editor with
  // the take, Yes throws it away.
  bool recordingAfterClose = true;
  std::size_t filesAfterNo = 0;
  ASSERT_TRUE(DriveDialog(
      "Audio Note", [this] { m_main->Command(IDM_ADD_AUDIO_NOTE); },
      [&](HWND dialog) {
        Press(dialog, IDC_AUDIO_START_RECORD);
        ASSERT_TRUE(RecordedAtLeast(1));
        EXPECT_EQ(SoundFiles().size(), 1u);
        Press(dialog, IDC_AUDIO_CLOSE);
        recordingAfterClose = WaveRecorder().IsRecording();
        filesAfterNo = IsWindowVisible(dialog) ? SoundFiles().size() : 0;
        m_boxes.answer = kIdYes;
        Press(dialog, IDC_AUDIO_CLOSE);
      },
      kActBoundMs));
  EXPECT_FALSE(recordingAfterClose);
  EXPECT_EQ(filesAfterNo, 1u) << "No threw the take away";
  ASSERT_EQ(OtherBoxes().size(), 2u);
  for (const ShownBox& box : OtherBoxes()) {
    EXPECT_EQ(box.text, "Discard the changes to this audio note?");
    EXPECT_EQ(box.style, kMbYesNo | kMbIconQuestion | kMbDefaultButton2);
  }
  EXPECT_FALSE(WaveRecorder().IsRecording());
  EXPECT_TRUE(SoundFiles().empty());

  // Only "sndvol.exe" exists; then neither does. Esc during the take ends
  // it and keeps it, the editor staying open; the close box then asks.
  m_boxes.shown.clear();
  m_boxes.answer = RecordedMessageBoxes::kDefaultButton;
  gStartedPrograms.clear();
  gExistingPrograms = {"sndvol.exe"};
  gShellExecute = StartProgram;
  std::string statusAfterEsc;
  bool saveAfterEsc = false;
  std::size_t filesAfterEsc = 0;
  ASSERT_TRUE(DriveDialog(
      "Audio Note", [this] { m_main->Command(IDM_ADD_AUDIO_NOTE); },
      [&](HWND dialog) {
        Press(dialog, IDC_AUDIO_START_RECORD);
        ASSERT_TRUE(RecordedAtLeast(1));
        Press(dialog, IDC_AUDIO_SETTINGS);
        EXPECT_TRUE(OtherBoxes().empty());
        gExistingPrograms.clear();
        Press(dialog, IDC_AUDIO_SETTINGS);
        EXPECT_EQ(StatusText(dialog), "Recording...");
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);  // Esc
        statusAfterEsc = IsWindowVisible(dialog) ? StatusText(dialog) : "closed";
        saveAfterEsc = Enabled(dialog, IDC_AUDIO_SAVE);
        filesAfterEsc = SoundFiles().size();
        m_boxes.answer = kIdYes;
        SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
      },
      kActBoundMs));
  EXPECT_EQ(statusAfterEsc, "Stopped");
  EXPECT_TRUE(saveAfterEsc);
  EXPECT_EQ(filesAfterEsc, 1u);
  EXPECT_EQ(gStartedPrograms, (std::vector<std::string>{"open sndvol32.exe [] 1", "open sndvol.exe [] 1",
                                               "open sndvol32.exe [] 1", "open sndvol.exe [] 1"}));
  ASSERT_EQ(OtherBoxes().size(), 2u);
  EXPECT_EQ(OtherBoxes()[0].text, "The volume control could not be started.");
  EXPECT_EQ(OtherBoxes()[0].caption, "Quillmate");
  EXPECT_EQ(OtherBoxes()[0].style, kMbOk | kMbIconWarning);
  EXPECT_EQ(OtherBoxes()[1].text, "Discard the changes to this audio note?");
  EXPECT_FALSE(WaveRecorder().IsRecording());
  EXPECT_TRUE(SoundFiles().empty());
  EXPECT_TRUE(StoredNotes().empty());
}

TEST_F(AudioNoteTest, PropertiesPlayToTheEndRewindSeekFromTheSliderAndSaveOnlyTitleAndType) {
  StoreNote("Lecture", "AudioNote1.wav", 10);
  m_main->FocusRow(0);
  CMediaPlayer& player = AudioNotePlayer();
  ASSERT_TRUE(DriveDialog(
      "Audio Note Properties", [this] { m_main->Command(IDM_EDIT_AUDIO_NOTE); },
      [&](HWND dialog) {
        EXPECT_EQ(TextOf(dialog, IDC_AUDIO_PROPERTIES_TITLE), "Lecture");
        EXPECT_EQ(TextOf(dialog, IDC_AUDIO_PROPERTIES_TYPE), "Normal");
        ASSERT_TRUE(IsWindow(player.Window()));
        EXPECT_EQ(GetParent(player.Window()), dialog);
        EXPECT_TRUE(player.IsPlaying());

        // The range becomes the length; the thumb follows, and returns to 0
        // at the end.
        ASSERT_TRUE(PumpUntil([&] { return SliderMaximum(dialog) == 10000; }, kWaitMs));
        ASSERT_TRUE(PumpUntil([&] { return SliderPosition(dialog) > 0; }, kWaitMs));
        ASSERT_TRUE(PumpUntil([&] { return !player.IsPlaying(); }, kWaitMs));
        EXPECT_EQ(SliderPosition(dialog), 0);
        EXPECT_EQ(player.Position(), 0);

        // Play/Pause plays again from the start; Stop rewinds.
        Press(dialog, IDC_AUDIO_PROPERTIES_PLAY_PAUSE);
        EXPECT_TRUE(player.IsPlaying());
        ASSERT_TRUE(PumpUntil([&] { return SliderPosition(dialog) > 0; }, kWaitMs));
        Press(dialog, IDC_AUDIO_PROPERTIES_STOP);
        EXPECT_FALSE(player.IsPlaying());
        EXPECT_EQ(player.Position(), 0);

        // Dragging stops playback; letting go plays from there.
        Press(dialog, IDC_AUDIO_PROPERTIES_PLAY_PAUSE);
        Slide(dialog, TB_THUMBTRACK, 7000);
        EXPECT_FALSE(player.IsPlaying());
        Slide(dialog, TB_ENDTRACK, 7000);
        EXPECT_TRUE(player.IsPlaying());
        EXPECT_GE(player.Position(), 7000);

        TypeText(dialog, IDC_AUDIO_PROPERTIES_TITLE, "");
        Press(dialog, IDC_AUDIO_PROPERTIES_SAVE);
        ASSERT_EQ(m_boxes.shown.size(), 1u);
        EXPECT_EQ(m_boxes.shown[0].text, "Please Fill in All Fields.");
        EXPECT_EQ(m_boxes.shown[0].caption, "Quillmate");
        EXPECT_EQ(m_boxes.shown[0].style, kMbOk | kMbIconInformation);
        EXPECT_TRUE(IsWindow(dialog));

        TypeText(dialog, IDC_AUDIO_PROPERTIES_TITLE, "Lecture, part two");
        ChooseListItem(dialog, IDC_AUDIO_PROPERTIES_TYPE, 1);
        Press(dialog, IDC_AUDIO_PROPERTIES_SAVE);
      },
      kActBoundMs));
  EXPECT_EQ(player.Window(), nullptr);
  std::vector<DatabaseDataAudioNote> notes = StoredNotes();
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_EQ(RecordTextOf(notes[0].title), "Lecture, part two");
  EXPECT_EQ(notes[0].noteType, 1);
  EXPECT_EQ(RecordTextOf(notes[0].fileName), "AudioNote1.wav");
  EXPECT_EQ(ReadFileBytes(gAudioNoteFolder + "AudioNote1.wav").size(), 46u + 10u * 176400u);
  EXPECT_EQ(m_main->Rows().at(0).texts[1], "Lecture, part two");
}

TEST_F(AudioNoteTest, PropertiesOpenForAFocusedRowByDoubleClickAndEditCurrentAndNotWithoutOne) {
  StoreNote("Birthday song", "AudioNote2.wav", 1);
  m_main->Command(IDM_SHOW_AUDIO_NOTES);
  // No focused row: nothing opens.
  EXPECT_FALSE(DriveDialog(
      "Audio Note Properties", [this] { m_main->Command(IDM_EDIT_AUDIO_NOTE); }, [](HWND) {}));

  m_main->FocusRow(0);
  for (auto open : {std::function<void()>([this] { m_main->DoubleClickRecordList(); }),
                    std::function<void()>([this] { m_main->Command(IDM_EDIT_CURRENT); })}) {
    ASSERT_TRUE(DriveDialog("Audio Note Properties", open, [&](HWND dialog) {
      EXPECT_EQ(TextOf(dialog, IDC_AUDIO_PROPERTIES_TITLE), "Birthday song");
      EXPECT_TRUE(IsWindow(AudioNotePlayer().Window()));
      TypeText(dialog, IDC_AUDIO_PROPERTIES_TITLE, "changed, then cancelled");
      m_boxes.answer = kIdYes;
      Press(dialog, IDC_AUDIO_PROPERTIES_CANCEL);
    }));
    EXPECT_EQ(AudioNotePlayer().Window(), nullptr);
  }
  EXPECT_EQ(RecordTextOf(StoredNotes().at(0).title), "Birthday song");
  ASSERT_EQ(m_boxes.shown.size(), 2u);
  for (const ShownBox& box : m_boxes.shown) EXPECT_EQ(box.text, "Discard the changes to this audio note?");
}

// A recording whose format says 0 channels ended the program with a division
// by zero when its properties opened; one whose RIFF size runs past the end
// is no better. Neither reaches the player: a box says it cannot be played,
// and the dialog still saves title and type.
TEST_F(AudioNoteTest, ADamagedRecordingOpensNoPlayerAndABoxSaysItCannotBePlayed) {
  StoreNote("Silent", "AudioNote1.wav", 1);
  const std::string path = gAudioNoteFolder + "AudioNote1.wav";
  struct Damage {
    std::size_t offset;
    std::uint32_t value;
    const char* problem;
  };
  const Damage damages[] = {{20, 0x00000001, "0 channels"}, {4, 0x7FFFFFF0, "past the end"}};
  const Bytes good = ReadFileBytes(path);
  CMediaPlayer& player = AudioNotePlayer();
  for (const Damage& damage : damages) {
    SCOPED_TRACE(damage.problem);
    WriteFileBytes(path, good);
    PatchWord(path, damage.offset, damage.value);
    m_boxes.shown.clear();
    m_main->FocusRow(0);
    HWND properties = nullptr;
    HWND playerWindow = reinterpret_cast<HWND>(1);
    ASSERT_TRUE(DriveDialog("Audio Note Properties", [this] { m_main->Command(IDM_EDIT_AUDIO_NOTE); },
                            [&](HWND dialog) {
                              properties = dialog;
                              playerWindow = player.Window();
                              Press(dialog, IDC_AUDIO_PROPERTIES_PLAY_PAUSE);
                              SetDlgItemTextA(dialog, IDC_AUDIO_PROPERTIES_TITLE, "Still here");
                              Press(dialog, IDC_AUDIO_PROPERTIES_SAVE);
                            }));
    EXPECT_EQ(playerWindow, nullptr);
    const std::vector<ShownBox> boxes = OtherBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].owner, properties);
    EXPECT_EQ(boxes[0].style & 0xF0u, kMbIconWarning);
    EXPECT_EQ(boxes[0].text.find("The recording cannot be played: \"" + path + "\""), 0u) << boxes[0].text;
    EXPECT_NE(boxes[0].text.find(damage.problem), std::string::npos) << boxes[0].text;
    EXPECT_EQ(RecordTextOf(StoredNotes()[0].title), "Still here");
  }
}

TEST_F(AudioNoteTest, ATakeThatReachesItsSizeLimitStopsWithABoxGivesRecordBackAndIsSavedWhole) {
  // Four seconds and a bit; the limit is taken in whole frames.
  const std::uint32_t limit = (2 * kWaveBufferBytes + 1002) & ~3u;
  WaveRecorder().SetDataLimit(limit);
  struct Restore {
    ~Restore() { WaveRecorder().SetDataLimit(kWaveDataLimit); }
  } restore;
  ASSERT_TRUE(DriveDialog(
      "Audio Note", [this] { m_main->Command(IDM_ADD_AUDIO_NOTE); },
      [&](HWND dialog) {
        EXPECT_EQ(StatusText(dialog, 2), "");
        Press(dialog, IDC_AUDIO_START_RECORD);
        EXPECT_EQ(StatusText(dialog), "Recording...");
        EXPECT_EQ(StatusText(dialog, 2), "0:00");
        // The take ends by itself: Record is given back, with a box.
        ASSERT_TRUE(PumpUntil([&] { return StatusText(dialog) == "Stopped"; }, kWaitMs)) << StatusText(dialog);
        EXPECT_FALSE(WaveRecorder().IsRecording());
        EXPECT_TRUE(Enabled(dialog, IDC_AUDIO_START_RECORD));
        EXPECT_FALSE(Enabled(dialog, IDC_AUDIO_STOP));
        EXPECT_TRUE(Enabled(dialog, IDC_AUDIO_SAVE));
        EXPECT_EQ(StatusText(dialog, 2), "0:04");
        ASSERT_EQ(OtherBoxes().size(), 1u);
        EXPECT_EQ(OtherBoxes()[0].text, kSizeLimitReached);
        EXPECT_EQ(OtherBoxes()[0].caption, "Audio Note");
        EXPECT_EQ(OtherBoxes()[0].style, kMbOk | kMbIconWarning);
        EXPECT_EQ(OtherBoxes()[0].owner, dialog);
        TypeText(dialog, IDC_AUDIO_TITLE, "Long talk");
        Press(dialog, IDC_AUDIO_SAVE);
      },
      kActBoundMs));
  const std::vector<DatabaseDataAudioNote> notes = StoredNotes();
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_EQ(CheckWaveOfSignal(gAudioNoteFolder + RecordTextOf(notes[0].fileName), limit), "");
  EXPECT_EQ(OtherBoxes().size(), 1u);
}

TEST_F(AudioNoteTest, AFailedNewTakeKeepsTheOldOneAndATakeWithoutItsSizesIsNeverSaved) {
  struct Restore {
    ~Restore() { CWaveFile::FailCompletes(false); }
  } restore;
  ASSERT_TRUE(DriveDialog(
      "Audio Note", [this] { m_main->Command(IDM_ADD_AUDIO_NOTE); },
      [&](HWND dialog) {
        TypeText(dialog, IDC_AUDIO_TITLE, "Kept");
        Press(dialog, IDC_AUDIO_START_RECORD);
        ASSERT_TRUE(RecordedAtLeast(1));
        Press(dialog, IDC_AUDIO_STOP);
        const std::vector<std::string> first = SoundFiles();
        ASSERT_EQ(first.size(), 1u);

        // The chosen device is gone (unplugged): the new take cannot start,
        // and the first one is still there.
        SendDlgItemMessageA(dialog, IDC_AUDIO_DEVICE, CB_SETITEMDATA, 0, 99);
        Press(dialog, IDC_AUDIO_START_RECORD);
        ASSERT_FALSE(OtherBoxes().empty());
        EXPECT_EQ(OtherBoxes().back().text, "Can't open WAVE In Device!");
        EXPECT_EQ(StatusText(dialog), "Stopped");
        EXPECT_EQ(SoundFiles(), first);
        SendDlgItemMessageA(dialog, IDC_AUDIO_DEVICE, CB_SETITEMDATA, 0, 0);

        // A take whose sizes cannot be written (a flush that fails): told at
        // Stop, and Save refuses the file. It replaced the first take once
        // it ran.
        CWaveFile::FailCompletes(true);
        Press(dialog, IDC_AUDIO_START_RECORD);
        EXPECT_EQ(StatusText(dialog), "Recording...");
        ASSERT_TRUE(RecordedAtLeast(1));
        Press(dialog, IDC_AUDIO_STOP);
        CWaveFile::FailCompletes(false);
        EXPECT_EQ(OtherBoxes().back().text, kNotCompleted);
        EXPECT_EQ(OtherBoxes().back().owner, dialog);
        ASSERT_EQ(SoundFiles().size(), 1u);
        EXPECT_NE(SoundFiles(), first);
        const std::size_t before = OtherBoxes().size();
        Press(dialog, IDC_AUDIO_SAVE);
        ASSERT_EQ(OtherBoxes().size(), before + 1);
        EXPECT_EQ(OtherBoxes().back().text, kNotCompleted);
        EXPECT_EQ(OtherBoxes().back().caption, "Audio Note");
        EXPECT_TRUE(IsWindow(dialog));
        EXPECT_TRUE(StoredNotes().empty());
        m_boxes.answer = kIdYes;  // the take is given up
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
      },
      kActBoundMs));
  EXPECT_TRUE(StoredNotes().empty());
  EXPECT_TRUE(SoundFiles().empty());
}

TEST_F(AudioNoteTest, TheFirstTakeIsSavedWhenTheSecondCannotStart) {
  std::uint32_t firstTake = 0;
  ASSERT_TRUE(DriveDialog(
      "Audio Note", [this] { m_main->Command(IDM_ADD_AUDIO_NOTE); },
      [&](HWND dialog) {
        Press(dialog, IDC_AUDIO_START_RECORD);
        ASSERT_TRUE(RecordedAtLeast(kWaveBufferBytes));
        Press(dialog, IDC_AUDIO_STOP);
        firstTake = WaveRecorder().DataBytes();
        SendDlgItemMessageA(dialog, IDC_AUDIO_DEVICE, CB_SETITEMDATA, 0, 99);
        Press(dialog, IDC_AUDIO_START_RECORD);
        TypeText(dialog, IDC_AUDIO_TITLE, "First take");
        Press(dialog, IDC_AUDIO_SAVE);
      },
      kActBoundMs));
  const std::vector<DatabaseDataAudioNote> notes = StoredNotes();
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_EQ(CheckWaveOfSignal(gAudioNoteFolder + RecordTextOf(notes[0].fileName), firstTake), "");
}

TEST_F(AudioNoteTest, PropertiesShowPositionAndLengthAndStopPutsTheSliderWhereThePlayerIs) {
  StoreNote("Reminder", "AudioNote3.wav", 3);
  m_main->FocusRow(0);
  CMediaPlayer& player = AudioNotePlayer();
  ASSERT_TRUE(DriveDialog(
      "Audio Note Properties", [this] { m_main->Command(IDM_EDIT_AUDIO_NOTE); },
      [&](HWND dialog) {
        ASSERT_TRUE(PumpUntil([&] { return SliderPosition(dialog) >= 1000; }, kWaitMs));
        EXPECT_EQ(TextOf(dialog, IDC_AUDIO_PROPERTIES_TIME).substr(1), ":0" +
                  std::to_string(SliderPosition(dialog) / 1000) + " / 0:03");
        Press(dialog, IDC_AUDIO_PROPERTIES_STOP);
        EXPECT_FALSE(player.IsPlaying());
        EXPECT_EQ(SliderPosition(dialog), static_cast<int>(player.Position()));
        EXPECT_EQ(SliderPosition(dialog), 0);
        EXPECT_EQ(TextOf(dialog, IDC_AUDIO_PROPERTIES_TIME), "0:00 / 0:03");
        Press(dialog, IDC_AUDIO_PROPERTIES_CANCEL);
      },
      kActBoundMs));
  EXPECT_TRUE(m_boxes.shown.empty());
}
