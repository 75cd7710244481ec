// The video note dialogs driven through their controls inside their own
// modal loops, opened by the main window's commands: the capture dialog
// (4000, command 220) with the screen capture as its driver (Wine lists no
// platform driver): the driver menu, preview, the frame's layout,
// record/stop, the Save checks, Save and Close; and the properties dialog
// (11000, command 221) playing a captured note.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <vfw.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "Editors/VideoCaptureDialog.h"
#include "Media/CAviCaptureFile.h"
#include "Media/CMediaPlayer.h"
#include "Managers/KindManager.h"
#include "Managers/RecordManager.h"
#include "Records/DataFolders.h"
#include "Records/DatabaseObject.h"
#include "Records/RecordText.h"
#include "Resources/MainWindowIds.h"
#include "Resources/VideoNoteIds.h"
#include "Support/DialogDriver.h"
#include "Support/AviFileReader.h"
#include "Support/MessagePump.h"
#include "Support/RecordedMessageBoxes.h"
#include "Support/ScratchFolder.h"
#include "Support/TestMainWindow.h"

using namespace qmtest;

namespace {

constexpr DWORD kCaptureWaitMs = 1500;
constexpr DWORD kPlayWaitMs = 10000;

HWND FrameOf(HWND dialog) {
  return FindWindowExA(dialog, nullptr, "vidframeClass", nullptr);
}

HWND CaptureWindowOf(HWND dialog) {
  return GetDlgItem(FrameOf(dialog), 1);
}

CAPSTATUS StatusOf(HWND dialog) {
  CAPSTATUS status = {};
  SendMessageA(CaptureWindowOf(dialog), WM_CAP_GET_STATUS, sizeof status, reinterpret_cast<LPARAM>(&status));
  return status;
}

std::string StatusText(HWND dialog) {
  char text[256] = {};
  SendDlgItemMessageA(dialog, IDC_VIDEO_STATUS, SB_GETTEXTA, 1, reinterpret_cast<LPARAM>(text));
  return text;
}

bool Enabled(HWND dialog, int id) {
  return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE;
}

// The buttons' state as "Record Stop Save Close", 1 enabled.
std::string Buttons(HWND dialog) {
  std::string state;
  for (int id : {IDC_VIDEO_RECORD, IDC_VIDEO_STOP, IDC_VIDEO_SAVE, IDC_VIDEO_CLOSE}) {
    state += Enabled(dialog, id) ? '1' : '0';
  }
  return state;
}

struct ScrollRanges {
  int horizontalMax;
  int verticalMax;
};
ScrollRanges RangesOf(HWND frame) {
  int low = 0, high = 0;
  ScrollRanges ranges{};
  GetScrollRange(frame, SB_HORZ, &low, &high);
  ranges.horizontalMax = high;
  GetScrollRange(frame, SB_VERT, &low, &high);
  ranges.verticalMax = high;
  return ranges;
}

void MenuCommand(HWND dialog, int id) {
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

std::vector<std::string> AviFilesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.path().extension() == ".avi") names.push_back(entry.path().filename().string());
  }
  return names;
}

class VideoCaptureDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_appData = std::make_unique<ScopedApplicationDataFolder>(m_folder.Path().string());
    MakeDataFolders();
    m_main = std::make_unique<TestMainWindow>();
    ASSERT_NE(m_main->Handle(), nullptr);
    ASSERT_TRUE(EnsureStore(RecordKind::VideoNote));
  }
  void TearDown() override {
    m_main.reset();
    m_appData.reset();
  }

  bool Drive(const std::function<void(HWND)>& act) {
    return DriveDialog("Video Note", [this] { m_main->Command(IDM_ADD_VIDEO_NOTE); }, act);
  }

  // A short capture: Record, a few frames, Stop.
  void RecordAFewFrames(HWND dialog) {
    Press(dialog, IDC_VIDEO_RECORD);
    ASSERT_TRUE(StatusOf(dialog).fCapturingNow);
    // Close is kept off while capturing; Save is on right after Record.
    EXPECT_FALSE(Enabled(dialog, IDC_VIDEO_RECORD));
    EXPECT_TRUE(Enabled(dialog, IDC_VIDEO_STOP));
    EXPECT_FALSE(Enabled(dialog, IDC_VIDEO_CLOSE));
    ASSERT_TRUE(PumpUntil([&] { return StatusOf(dialog).dwCurrentVideoFrame >= 3; }, kCaptureWaitMs));
    Press(dialog, IDC_VIDEO_STOP);
    EXPECT_FALSE(StatusOf(dialog).fCapturingNow);
    EXPECT_EQ(Buttons(dialog), "1011");
  }

  std::vector<DatabaseDataVideoNote> StoredNotes() const {
    std::vector<DatabaseDataVideoNote> notes;
    auto store = OpenStore<DatabaseDataVideoNote>();
    if (!store) return notes;
    store->ForEachRecordOf([&](const DatabaseDataVideoNote& note, std::uint32_t) { notes.push_back(note); });
    CloseStore(store);
    return notes;
  }

  ScratchFolder m_folder{"qm-video"};
  RecordedMessageBoxes m_boxes{RecordedMessageBoxes::kDefaultButton};
  std::unique_ptr<ScopedApplicationDataFolder> m_appData;
  std::unique_ptr<TestMainWindow> m_main;
};

}  // namespace

TEST_F(VideoCaptureDialogTest, TheScreenDriverIsListedCheckedPreviewsAndTheFrameCentresOrScrollsThePicture) {
  ASSERT_TRUE(Drive([&](HWND dialog) {
    // The driver list below the settings, our driver checked and connected.
    HMENU settings = GetSubMenu(GetMenu(dialog), 0);
    ASSERT_NE(settings, nullptr);
    char text[128] = {};
    GetMenuStringA(settings, IDM_VIDEO_DRIVER_FIRST, text, sizeof text, MF_BYCOMMAND);
    EXPECT_STREQ(text, "Quillmate Screen Capture,   Version 1.0");
    EXPECT_EQ(GetMenuItemCount(settings), 9);
    EXPECT_TRUE(GetMenuState(settings, IDM_VIDEO_DRIVER_FIRST, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_EQ(StatusText(dialog), "Ready");
    EXPECT_EQ(Buttons(dialog), "1001");
    EXPECT_EQ(ChosenListItem(dialog, IDC_VIDEO_TYPE), 0);

    // "Show Preview" switches the live picture on and off.
    EXPECT_FALSE(StatusOf(dialog).fLiveWindow);
    Press(dialog, IDC_VIDEO_PREVIEW);
    EXPECT_TRUE(StatusOf(dialog).fLiveWindow);
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_VIDEO_PREVIEW), BST_CHECKED);
    // Choosing the driver again switches preview off and unchecks the box.
    MenuCommand(dialog, IDM_VIDEO_DRIVER_FIRST);
    EXPECT_FALSE(StatusOf(dialog).fLiveWindow);
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_VIDEO_PREVIEW), BST_UNCHECKED);
    EXPECT_TRUE(GetMenuState(settings, IDM_VIDEO_DRIVER_FIRST, MF_BYCOMMAND) & MF_CHECKED);

    // 640 x 480 is larger than the frame: the bars range over the overhang.
    HWND frame = FrameOf(dialog);
    RECT client;
    GetClientRect(frame, &client);
    ScrollRanges ranges = RangesOf(frame);
    EXPECT_EQ(ranges.horizontalMax, 640 - client.right);
    EXPECT_EQ(ranges.verticalMax, 480 - client.bottom);
    // Scrolling hands the position to the capture window, which stays put.
    SendMessageA(frame, WM_HSCROLL, SB_PAGEDOWN, 0);
    SendMessageA(frame, WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(StatusOf(dialog).ptScroll.x, 50);
    EXPECT_EQ(StatusOf(dialog).ptScroll.y, 10);

    // The format dialog picks 160 x 120: centred, no bars.
    EXPECT_TRUE(DriveDialog("Screen Capture Format", [&] { MenuCommand(dialog, IDM_VIDEO_FORMAT); },
                            [](HWND format) {
                              SendDlgItemMessageA(format, IDC_SCREEN_CAPTURE_SIZES, LB_SETCURSEL, 0, 0);
                              Press(format, IDOK);
                            }));
    EXPECT_EQ(StatusOf(dialog).uiImageWidth, 160u);
    ranges = RangesOf(frame);
    EXPECT_EQ(ranges.horizontalMax, 0);
    EXPECT_EQ(ranges.verticalMax, 0);
    GetClientRect(frame, &client);
    RECT placed;
    GetWindowRect(CaptureWindowOf(dialog), &placed);
    MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_EQ(placed.right - placed.left, 160);
    EXPECT_EQ(placed.bottom - placed.top, 120);
    EXPECT_EQ(placed.top, (client.bottom - 120) / 2);
    // Centred, then moved left onto a screen column that is a multiple of 4.
    EXPECT_LE(placed.left, (client.right - 160) / 2);
    EXPECT_GT(placed.left, (client.right - 160) / 2 - 4);
    POINT screen = {placed.left, placed.top};
    ClientToScreen(frame, &screen);
    EXPECT_EQ(screen.x % 4, 0);
    // The compression dialog is the platform's compressor chooser, offered
    // the capture's frame format; under Wine it lists no compressor for it.
    EXPECT_TRUE(DriveDialog("Video Compression", [&] { Press(dialog, IDC_VIDEO_COMPRESSION); },
                            [](HWND chooser) { SendMessageA(chooser, WM_COMMAND, IDCANCEL, 0); }));
    // "Audio Format..." opens the platform's format chooser once.
    EXPECT_TRUE(DriveDialog("Sound Selection", [&] { MenuCommand(dialog, IDM_VIDEO_AUDIO_FORMAT); },
                            [](HWND chooser) { SendMessageA(chooser, WM_COMMAND, IDCANCEL, 0); }));
    Press(dialog, IDC_VIDEO_CLOSE);
  }));
  EXPECT_TRUE(m_boxes.shown.empty());
}

TEST_F(VideoCaptureDialogTest, ThePropertiesOpenForAFocusedVideoNoteByDoubleClickAndNotWithoutOne) {
  NoteValues note;
  note.title = "Gone";
  note.attachment = "VideoNote1.avi";  // no such file: nothing plays
  ASSERT_TRUE(VideoNoteManager::AppendRecord(m_main->Handle(), note));
  m_main->Command(IDM_SHOW_VIDEO_NOTES);
  EXPECT_FALSE(DriveDialog("Video Note Properties", [this] { m_main->Command(IDM_EDIT_VIDEO_NOTE); }, [](HWND) {}));
  m_main->FocusRow(0);
  ASSERT_TRUE(DriveDialog("Video Note Properties", [this] { m_main->DoubleClickRecordList(); }, [](HWND dialog) {
    EXPECT_EQ(TextOf(dialog, IDC_VIDEO_NOTE_TITLE), "Gone");
    EXPECT_EQ(VideoNotePlayer().Window(), nullptr);
    SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  }));
  EXPECT_TRUE(m_boxes.shown.empty());
}

TEST_F(VideoCaptureDialogTest, SaveChecksTitleAndCaptureThenAddsTheNoteWithTheBareFileName) {
  std::string path;
  ASSERT_TRUE(Drive([&](HWND dialog) {
    path = VideoCapturePath();
    // Save is disabled until a capture: its command as Enter would send it.
    MenuCommand(dialog, IDC_VIDEO_SAVE);
    TypeText(dialog, IDC_VIDEO_TITLE, "Desk");
    MenuCommand(dialog, IDC_VIDEO_SAVE);
    RecordAFewFrames(dialog);
    EXPECT_NE(StatusText(dialog).find("Capture End"), std::string::npos);
    TypeText(dialog, IDC_VIDEO_TITLE, "");
    Press(dialog, IDC_VIDEO_SAVE);
    // Save during a second take ends the take first: the file is complete.
    Press(dialog, IDC_VIDEO_RECORD);
    ASSERT_TRUE(PumpUntil([&] { return StatusOf(dialog).dwCurrentVideoFrame >= 2; }, kCaptureWaitMs));
    TypeText(dialog, IDC_VIDEO_TITLE, "Desk");
    ChooseListItem(dialog, IDC_VIDEO_TYPE, 1);
    Press(dialog, IDC_VIDEO_SAVE);
  }));
  ASSERT_EQ(m_boxes.shown.size(), 3u);
  EXPECT_EQ(m_boxes.shown[0].text, "Please Fill in Title.");
  EXPECT_EQ(m_boxes.shown[0].caption, "Quillmate");
  EXPECT_EQ(m_boxes.shown[0].style, kMbOk | kMbIconInformation);
  EXPECT_EQ(m_boxes.shown[1].text, "Please record some Video Note first.");
  EXPECT_EQ(m_boxes.shown[1].caption, "Video Note");
  EXPECT_EQ(m_boxes.shown[1].style, kMbOk | kMbIconWarning);
  EXPECT_EQ(m_boxes.shown[2].text, "Please Fill in Title.");

  // The note names its AVI by bare file name; the file stays.
  ASSERT_FALSE(path.empty());
  EXPECT_EQ(path.rfind(gVideoNoteFolder, 0), 0u);
  const std::vector<DatabaseDataVideoNote> notes = StoredNotes();
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_EQ(RecordTextOf(notes[0].title), "Desk");
  EXPECT_EQ(notes[0].noteType, 1);
  const std::string fileName = RecordTextOf(notes[0].fileName);
  EXPECT_EQ(gVideoNoteFolder + fileName, path);
  EXPECT_EQ(fileName.rfind("VideoNote", 0), 0u);
  EXPECT_EQ(AviFilesIn(gVideoNoteFolder), std::vector<std::string>{fileName});
  const AviFile avi = ReadAviFile(path);
  EXPECT_EQ(avi.error, "");
  EXPECT_TRUE(avi.hasIndex);
  ASSERT_EQ(avi.streams.size(), 2u);
  EXPECT_GE(avi.streams[0].chunks.size(), 2u);
  EXPECT_EQ(CurrentKind(), static_cast<int>(RecordKind::VideoNote));
  ASSERT_EQ(m_main->Rows().size(), 1u);
}

TEST_F(VideoCaptureDialogTest, CloseAfterTwoTakesAsksEscDuringACaptureEndsItAndKeepsItAndTheCloseBoxAsksToo) {
  // Close with a capture taken asks; No keeps it, Yes leaves no AVI.
  std::size_t filesAfterNo = 0;
  ASSERT_TRUE(Drive([&](HWND dialog) {
    RecordAFewFrames(dialog);
    EXPECT_FALSE(AviFilesIn(gVideoNoteFolder).empty());
    // A second take overwrites the same file.
    RecordAFewFrames(dialog);
    EXPECT_EQ(AviFilesIn(gVideoNoteFolder).size(), 1u);
    Press(dialog, IDC_VIDEO_CLOSE);
    filesAfterNo = IsWindowVisible(dialog) ? AviFilesIn(gVideoNoteFolder).size() : 0;
    m_boxes.answer = kIdYes;
    Press(dialog, IDC_VIDEO_CLOSE);
  }));
  EXPECT_EQ(filesAfterNo, 1u) << "No threw the capture away";
  EXPECT_TRUE(AviFilesIn(gVideoNoteFolder).empty());
  ASSERT_EQ(m_boxes.shown.size(), 2u);
  for (const ShownBox& box : m_boxes.shown) {
    EXPECT_EQ(box.text, "Discard the changes to this video note?");
    EXPECT_EQ(box.style, kMbYesNo | kMbIconQuestion | kMbDefaultButton2);
  }

  // Esc during a capture ends it and keeps it, the dialog staying open; the
  // close box during a capture ends it, then asks.
  m_boxes.shown.clear();
  m_boxes.answer = RecordedMessageBoxes::kDefaultButton;
  bool capturingAfterEsc = true;
  std::size_t filesAfterEsc = 0;
  bool capturingAfterCloseBox = true;
  ASSERT_TRUE(Drive([&](HWND dialog) {
    Press(dialog, IDC_VIDEO_RECORD);
    ASSERT_TRUE(PumpUntil([&] { return StatusOf(dialog).dwCurrentVideoFrame >= 2; }, kCaptureWaitMs));
    SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    capturingAfterEsc = !IsWindowVisible(dialog) || StatusOf(dialog).fCapturingNow;
    filesAfterEsc = AviFilesIn(gVideoNoteFolder).size();
    EXPECT_TRUE(m_boxes.shown.empty()) << "Esc asked instead of ending the capture";
    Press(dialog, IDC_VIDEO_RECORD);
    ASSERT_TRUE(PumpUntil([&] { return StatusOf(dialog).dwCurrentVideoFrame >= 2; }, kCaptureWaitMs));
    SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    capturingAfterCloseBox = !IsWindowVisible(dialog) || StatusOf(dialog).fCapturingNow;
    m_boxes.answer = kIdYes;
    SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
  }));
  EXPECT_FALSE(capturingAfterEsc);
  EXPECT_EQ(filesAfterEsc, 1u);
  EXPECT_FALSE(capturingAfterCloseBox);
  ASSERT_EQ(m_boxes.shown.size(), 2u);
  EXPECT_EQ(m_boxes.shown[0].text, "Discard the changes to this video note?");
  EXPECT_TRUE(AviFilesIn(gVideoNoteFolder).empty());
  EXPECT_TRUE(StoredNotes().empty());
}

TEST_F(VideoCaptureDialogTest, ThePropertiesPlayACapturedNoteInTheDialogAndSaveChangesOnlyTitleAndType) {
  ASSERT_TRUE(Drive([&](HWND dialog) {
    Press(dialog, IDC_VIDEO_RECORD);
    ASSERT_TRUE(PumpUntil([&] { return StatusOf(dialog).dwCurrentVideoFrame >= 12; }, kPlayWaitMs));
    Press(dialog, IDC_VIDEO_STOP);
    TypeText(dialog, IDC_VIDEO_TITLE, "Whiteboard");
    Press(dialog, IDC_VIDEO_SAVE);
  }));
  const std::string fileName = RecordTextOf(StoredNotes().at(0).fileName);

  m_main->FocusRow(0);
  CMediaPlayer& player = VideoNotePlayer();
  auto slider = [](HWND dialog, UINT message) {
    return static_cast<int>(SendDlgItemMessageA(dialog, IDC_VIDEO_POSITION, message, 0, 0));
  };
  ASSERT_TRUE(DriveDialog(
      "Video Note Properties", [this] { m_main->Command(IDM_EDIT_VIDEO_NOTE); },
      [&](HWND dialog) {
        EXPECT_EQ(TextOf(dialog, IDC_VIDEO_NOTE_TITLE), "Whiteboard");
        EXPECT_EQ(TextOf(dialog, IDC_VIDEO_NOTE_TYPE), "Normal");
        // The picture plays in the dialog, 367 x 235 at (10, 10).
        ASSERT_TRUE(IsWindow(player.Window()));
        EXPECT_EQ(GetParent(player.Window()), dialog);
        EXPECT_EQ(player.FileName(), gVideoNoteFolder + fileName);
        RECT place;
        GetWindowRect(player.Window(), &place);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
        EXPECT_EQ(place.left, 10);
        EXPECT_EQ(place.top, 10);
        EXPECT_EQ(place.right - place.left, 367);
        EXPECT_EQ(place.bottom - place.top, 235);
        EXPECT_TRUE(player.IsPlaying());
        ASSERT_GT(player.Length(), 0);

        // The range is the length; the thumb moves and returns to 0 at the end.
        ASSERT_TRUE(PumpUntil([&] { return slider(dialog, TBM_GETRANGEMAX) == player.Length(); }, kPlayWaitMs));
        ASSERT_TRUE(PumpUntil([&] { return slider(dialog, TBM_GETPOS) > 0; }, kPlayWaitMs));
        ASSERT_TRUE(PumpUntil([&] { return !player.IsPlaying(); }, kPlayWaitMs));
        EXPECT_EQ(slider(dialog, TBM_GETPOS), 0);

        // Play again, then Stop rewinds.
        Press(dialog, IDC_VIDEO_PLAY_PAUSE);
        EXPECT_TRUE(player.IsPlaying());
        Press(dialog, IDC_VIDEO_PLAY_STOP);
        EXPECT_FALSE(player.IsPlaying());
        EXPECT_EQ(player.Position(), 0);

        TypeText(dialog, IDC_VIDEO_NOTE_TITLE, "");
        Press(dialog, IDC_VIDEO_NOTE_SAVE);
        ASSERT_EQ(m_boxes.shown.size(), 1u);
        EXPECT_EQ(m_boxes.shown[0].text, "Please Fill in All Fields.");
        EXPECT_EQ(m_boxes.shown[0].caption, "Quillmate");
        EXPECT_EQ(m_boxes.shown[0].style, kMbOk | kMbIconInformation);
        TypeText(dialog, IDC_VIDEO_NOTE_TITLE, "Whiteboard, Monday");
        ChooseListItem(dialog, IDC_VIDEO_NOTE_TYPE, 1);
        Press(dialog, IDC_VIDEO_NOTE_SAVE);
      },
      kPlayWaitMs * 3));
  EXPECT_EQ(player.Window(), nullptr);
  const std::vector<DatabaseDataVideoNote> notes = StoredNotes();
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_EQ(RecordTextOf(notes[0].title), "Whiteboard, Monday");
  EXPECT_EQ(notes[0].noteType, 1);
  EXPECT_EQ(RecordTextOf(notes[0].fileName), fileName);
  EXPECT_EQ(AviFilesIn(gVideoNoteFolder), std::vector<std::string>{fileName});
  EXPECT_EQ(m_main->Rows().at(0).texts[1], "Whiteboard, Monday");
}

TEST_F(VideoCaptureDialogTest, ACaptureThatCannotBeWrittenEndsWithABoxKeepsAValidFileAndRecordComesBack) {
  std::string path;
  ASSERT_TRUE(Drive([&](HWND dialog) {
    path = VideoCapturePath();
    // Room for two frames of 640 x 480, then the disk is full.
    CAviCaptureFile::FailWritesAfter(2LL * 640 * 480 * 4 + 100000);
    Press(dialog, IDC_VIDEO_RECORD);
    ASSERT_TRUE(PumpUntil([&] { return !StatusOf(dialog).fCapturingNow; }, kPlayWaitMs));
    CAviCaptureFile::FailWritesAfter(-1);
    EXPECT_EQ(StatusText(dialog), "Capture End");
    EXPECT_EQ(Buttons(dialog), "1011");
    TypeText(dialog, IDC_VIDEO_TITLE, "Half a take");
    Press(dialog, IDC_VIDEO_SAVE);
  }));
  CAviCaptureFile::FailWritesAfter(-1);
  ASSERT_EQ(m_boxes.shown.size(), 1u);
  EXPECT_EQ(m_boxes.shown[0].text, "The video could not be written; what was recorded so far was kept.");
  EXPECT_EQ(m_boxes.shown[0].caption, "Video Note");
  EXPECT_EQ(m_boxes.shown[0].style, kMbOk | kMbIconWarning);
  const AviFile avi = ReadAviFile(path);
  EXPECT_EQ(avi.error, "");
  ASSERT_EQ(avi.streams.size(), 2u);
  EXPECT_GE(avi.streams[0].chunks.size(), 1u);
  EXPECT_LE(avi.streams[0].chunks.size(), 2u);
  EXPECT_EQ(StoredNotes().size(), 1u);
}
