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

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "CraftedRiff.h"
#include "Editors/VideoCaptureDialog.h"
#include "Media/CAviCaptureFile.h"
#include "Media/CCaptureProvider.h"
#include "Media/CMediaPlayer.h"
#include "Managers/KindManager.h"
#include "Managers/RecordManager.h"
#include "Records/DataFolders.h"
#include "Records/DatabaseObject.h"
#include "Records/RecordText.h"
#include "Resources/MainWindowIds.h"
#include "Resources/VideoNoteIds.h"
#include "Support/DialogDriver.h"
#include "Support/FileBytes.h"
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

std::string StatusText(HWND dialog, int part = 1) {
  char text[256] = {};
  SendDlgItemMessageA(dialog, IDC_VIDEO_STATUS, SB_GETTEXTA, part, reinterpret_cast<LPARAM>(text));
  return text;
}

long long FileSize(const std::string& path) {
  std::error_code error;
  const auto size = std::filesystem::file_size(path, error);
  return error ? -1 : static_cast<long long>(size);
}

// The size that the status bar's last part shows, in MB; -1 when none.
double ShownMegabytes(HWND dialog) {
  double megabytes = -1;
  return std::sscanf(StatusText(dialog, 2).c_str(), "File: %lf MB", &megabytes) == 1 ? megabytes : -1;
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

// A camera that is listed but never connects: its window answers every
// capture message but the connection.
LRESULT CALLBACK UnpluggedCameraProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CAP_DRIVER_CONNECT) return FALSE;
  if (message >= WM_CAP_START && message <= WM_CAP_END) return TRUE;
  return DefWindowProcA(window, message, wParam, lParam);
}

class UnpluggedCamera : public CCaptureProvider {
 public:
  bool DriverDescription(int index, std::string& description, std::string& version) const override {
    if (index != 0) return false;
    description = "Unplugged Camera";
    version = "Version 2.0";
    return true;
  }
  HWND CreateCaptureWindow(HWND parent, int id, int x, int y, int width, int height) const override {
    static const ATOM registered = [] {
      WNDCLASSA windowClass = {};
      windowClass.lpfnWndProc = UnpluggedCameraProc;
      windowClass.hInstance = GetModuleHandleA(nullptr);
      windowClass.lpszClassName = "QuillmateTestUnpluggedCamera";
      return RegisterClassA(&windowClass);
    }();
    if (!registered) return nullptr;
    return CreateWindowExA(0, "QuillmateTestUnpluggedCamera", "", WS_CHILD | WS_VISIBLE, x, y, width, height,
                           parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr),
                           nullptr);
  }
};

// An installed compressor for the test, "qtst": it takes 32-bit frames and
// keeps one byte (blue) of each pixel.
constexpr DWORD kTestCodec = mmioFOURCC('q', 't', 's', 't');
LRESULT CALLBACK TestCodecProc(DWORD_PTR, HDRVR, UINT message, LPARAM first, LPARAM second) {
  const auto accepts = [](const BITMAPINFOHEADER* in) {
    return in && in->biCompression == BI_RGB && in->biBitCount == 32;
  };
  switch (message) {
    case DRV_LOAD:
    case DRV_FREE:
    case DRV_ENABLE:
    case DRV_DISABLE:
    case DRV_OPEN:
    case DRV_CLOSE:
      return 1;
    case ICM_GETINFO: {
      auto* info = reinterpret_cast<ICINFO*>(first);
      if (!info || static_cast<DWORD>(second) < sizeof(ICINFO)) return 0;
      *info = ICINFO{};
      info->dwSize = sizeof(ICINFO);
      info->fccType = ICTYPE_VIDEO;
      info->fccHandler = kTestCodec;
      info->dwFlags = VIDCF_QUALITY;
      info->dwVersionICM = ICVERSION;
      lstrcpyW(info->szName, L"qtst");
      lstrcpyW(info->szDescription, L"Quillmate test codec");
      return sizeof(ICINFO);
    }
    case ICM_COMPRESS_QUERY:
      return accepts(reinterpret_cast<const BITMAPINFOHEADER*>(first)) ? ICERR_OK : ICERR_BADFORMAT;
    case ICM_COMPRESS_GET_FORMAT: {
      const auto* in = reinterpret_cast<const BITMAPINFOHEADER*>(first);
      auto* out = reinterpret_cast<BITMAPINFOHEADER*>(second);
      if (!out) return sizeof(BITMAPINFOHEADER);
      if (!accepts(in)) return ICERR_BADFORMAT;
      *out = *in;
      out->biCompression = kTestCodec;
      out->biBitCount = 8;
      out->biSizeImage = static_cast<DWORD>(in->biWidth * in->biHeight);
      return ICERR_OK;
    }
    case ICM_COMPRESS_GET_SIZE: {
      const auto* in = reinterpret_cast<const BITMAPINFOHEADER*>(first);
      return in ? static_cast<LRESULT>(in->biWidth * in->biHeight) : 0;
    }
    case ICM_COMPRESS_BEGIN:
      return accepts(reinterpret_cast<const BITMAPINFOHEADER*>(first)) ? ICERR_OK : ICERR_BADFORMAT;
    case ICM_COMPRESS_END:
      return ICERR_OK;
    case ICM_COMPRESS: {
      auto* job = reinterpret_cast<ICCOMPRESS*>(first);
      const DWORD pixels = static_cast<DWORD>(job->lpbiInput->biWidth * job->lpbiInput->biHeight);
      const auto* in = static_cast<const BYTE*>(job->lpInput);
      auto* out = static_cast<BYTE*>(job->lpOutput);
      for (DWORD pixel = 0; pixel < pixels; ++pixel) out[pixel] = in[pixel * 4];
      job->lpbiOutput->biSizeImage = pixels;
      if (job->lpdwFlags) *job->lpdwFlags = AVIIF_KEYFRAME;
      if (job->lpckid) *job->lpckid = 0;
      return ICERR_OK;
    }
    case ICM_GETDEFAULTQUALITY:
      if (first) *reinterpret_cast<DWORD*>(first) = 7500;
      return ICERR_OK;
    default:
      return message < DRV_USER ? 0 : ICERR_UNSUPPORTED;
  }
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

  bool Drive(const std::function<void(HWND)>& act, DWORD boundMs = 2000) {
    return DriveDialog("Video Note", [this] { m_main->Command(IDM_ADD_VIDEO_NOTE); }, act, boundMs);
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
        EXPECT_EQ(slider(dialog, TBM_GETPOS), 0);
        // Position and length as time: at least the 12 frames of 1/15 s.
        const std::string time = TextOf(dialog, IDC_VIDEO_TIME);
        EXPECT_EQ(time.rfind("0:00 / 0:0", 0), 0u) << time;
        // The length in milliseconds: the frames at 15 a second.
        const AviFile avi = ReadAviFile(player.FileName());
        EXPECT_EQ(avi.microSecondsPerFrame, 66667u);
        EXPECT_NEAR(player.Length(), avi.streams.at(0).chunks.size() * 66.667, 70.0);

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

// A video whose stream states a rate of 0 (the player divides by it) opens
// no player: the box says it cannot be played.
TEST_F(VideoCaptureDialogTest, ADamagedVideoOpensNoPlayerAndABoxSaysItCannotBePlayed) {
  CraftedAvi damaged;
  damaged.videoRate = 0;
  const RiffBytes bytes = CraftAvi(damaged);
  const std::string path = gVideoNoteFolder + "VideoNote2.avi";
  WriteFileBytes(path, Bytes(bytes.begin(), bytes.end()));
  NoteValues note;
  note.title = "Damaged";
  note.attachment = "VideoNote2.avi";
  ASSERT_TRUE(VideoNoteManager::AppendRecord(m_main->Handle(), note));
  m_main->Command(IDM_SHOW_VIDEO_NOTES);
  m_main->FocusRow(0);
  HWND properties = nullptr;
  ASSERT_TRUE(DriveDialog("Video Note Properties", [this] { m_main->Command(IDM_EDIT_VIDEO_NOTE); },
                          [&](HWND dialog) {
                            properties = dialog;
                            EXPECT_EQ(VideoNotePlayer().Window(), nullptr);
                            SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
                          }));
  ASSERT_EQ(m_boxes.shown.size(), 1u);
  EXPECT_EQ(m_boxes.shown[0].owner, properties);
  EXPECT_EQ(m_boxes.shown[0].text,
            "The recording cannot be played: \"" + path + "\" is damaged (a stream states a rate of 0).");
}

TEST_F(VideoCaptureDialogTest, ACaptureEndsBeforeItsFileWouldPassTheSizeLimitShowsItsSizeAndKeepsAValidFile) {
  // Room for the headers and about twenty frames of 640 x 480 with their
  // sound: over a second at 15 frames a second.
  constexpr long long kFrameBytes = 640LL * 480 * 4;
  constexpr long long kLimit = 64 * 1024 + 20 * kFrameBytes;
  CAviCaptureFile::SetSizeLimit(kLimit);
  struct Restore {
    ~Restore() { CAviCaptureFile::SetSizeLimit(0); }
  } restore;
  std::string path;
  double shownWhileCapturing = -1;
  ASSERT_TRUE(Drive([&](HWND dialog) {
    path = VideoCapturePath();
    EXPECT_EQ(StatusText(dialog, 2), "");
    Press(dialog, IDC_VIDEO_RECORD);
    ASSERT_TRUE(StatusOf(dialog).fCapturingNow);
    // The size grows in the status bar while the capture runs.
    EXPECT_TRUE(PumpUntil([&] {
      shownWhileCapturing = ShownMegabytes(dialog);
      return StatusOf(dialog).fCapturingNow && shownWhileCapturing > 1.0;
    }, kPlayWaitMs));
    ASSERT_TRUE(PumpUntil([&] { return !StatusOf(dialog).fCapturingNow; }, kPlayWaitMs));
    EXPECT_EQ(StatusText(dialog), "Capture End");
    EXPECT_EQ(Buttons(dialog), "1011");
    // After the end the part shows the finished file.
    EXPECT_NEAR(ShownMegabytes(dialog), FileSize(path) / 1048576.0, 0.06);
    TypeText(dialog, IDC_VIDEO_TITLE, "Up to the limit");
    Press(dialog, IDC_VIDEO_SAVE);
  }, 3 * kPlayWaitMs));
  EXPECT_GT(shownWhileCapturing, 1.0);
  ASSERT_EQ(m_boxes.shown.size(), 1u);
  EXPECT_EQ(m_boxes.shown[0].text, "The video could not be written; what was recorded so far was kept.");
  EXPECT_EQ(m_boxes.shown[0].caption, "Video Note");
  // Stopped short of the limit, not wrapped: a valid file of whole frames
  // that holds nearly all the room it had.
  const long long size = FileSize(path);
  EXPECT_LE(size, kLimit);
  EXPECT_GT(size, kLimit - 2 * kFrameBytes);
  const AviFile avi = ReadAviFile(path);
  EXPECT_EQ(avi.error, "");
  EXPECT_TRUE(avi.hasIndex);
  ASSERT_EQ(avi.streams.size(), 2u);
  EXPECT_GE(avi.streams[0].chunks.size(), 15u);
  EXPECT_LE(avi.streams[0].chunks.size(), 20u);
  for (const auto& frame : avi.streams[0].chunks) EXPECT_EQ(frame.size(), static_cast<std::size_t>(kFrameBytes));
  EXPECT_EQ(StoredNotes().size(), 1u);
}

TEST_F(VideoCaptureDialogTest, ADriverChosenAfterTheFirstCouldNotConnectRecordsIntoTheDataFolder) {
  const UnpluggedCamera camera;
  SetDefaultCaptureProviders({&camera, &ScreenCaptureProvider()});
  struct Restore {
    ~Restore() { SetDefaultCaptureProviders({}); }
  } restore;
  std::string path;
  ASSERT_TRUE(Drive([&](HWND dialog) {
    // The first driver cannot connect: no file yet.
    EXPECT_EQ(VideoCapturePath(), "");
    HMENU settings = GetSubMenu(GetMenu(dialog), 0);
    EXPECT_FALSE(GetMenuState(settings, IDM_VIDEO_DRIVER_FIRST, MF_BYCOMMAND) & MF_CHECKED);
    MenuCommand(dialog, IDM_VIDEO_DRIVER_FIRST + 1);
    EXPECT_TRUE(GetMenuState(settings, IDM_VIDEO_DRIVER_FIRST + 1, MF_BYCOMMAND) & MF_CHECKED);
    path = VideoCapturePath();
    RecordAFewFrames(dialog);
    TypeText(dialog, IDC_VIDEO_TITLE, "Second driver");
    Press(dialog, IDC_VIDEO_SAVE);
  }, kPlayWaitMs));
  ASSERT_EQ(m_boxes.shown.size(), 1u);
  EXPECT_EQ(m_boxes.shown[0].caption, "Connection to Video Device");
  ASSERT_FALSE(path.empty());
  EXPECT_EQ(path.rfind(gVideoNoteFolder, 0), 0u);
  const std::vector<DatabaseDataVideoNote> notes = StoredNotes();
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_EQ(gVideoNoteFolder + RecordTextOf(notes[0].fileName), path);
  EXPECT_EQ(ReadAviFile(path).error, "");
}

TEST_F(VideoCaptureDialogTest, AnInstalledCompressorThatTakesTheFramesIsPreselectedForANewCapture) {
  ASSERT_TRUE(ICInstall(ICTYPE_VIDEO, kTestCodec, reinterpret_cast<LPARAM>(TestCodecProc), nullptr,
                        ICINSTALL_FUNCTION));
  struct Restore {
    ~Restore() { ICRemove(ICTYPE_VIDEO, kTestCodec, 0); }
  } restore;
  std::string path;
  ASSERT_TRUE(Drive([&](HWND dialog) {
    path = VideoCapturePath();
    RecordAFewFrames(dialog);
    TypeText(dialog, IDC_VIDEO_TITLE, "Compressed");
    Press(dialog, IDC_VIDEO_SAVE);
  }, kPlayWaitMs));
  EXPECT_TRUE(m_boxes.shown.empty());
  const AviFile avi = ReadAviFile(path);
  ASSERT_EQ(avi.error, "");
  ASSERT_EQ(avi.streams.size(), 2u);
  const AviStream& video = avi.streams[0];
  EXPECT_EQ(video.handler, "qtst");
  ASSERT_GE(video.format.size(), sizeof(BITMAPINFOHEADER));
  EXPECT_EQ(reinterpret_cast<const BITMAPINFOHEADER*>(video.format.data())->biCompression, kTestCodec);
  ASSERT_GE(video.chunks.size(), 3u);
  // A quarter of the uncompressed frame.
  for (const auto& frame : video.chunks) EXPECT_EQ(frame.size(), 640u * 480u);
}
