// The photo dialog (6000) and Add New Photos, opened by the real main
// window's commands and worked through their controls inside the dialog's
// own modal loop; the open-file dialog is replaced by a seam.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "Editors/PhotoAlbumDialog.h"
#include "Editors/PrinterChoice.h"
#include "Managers/PhotoAlbum.h"
#include "Records/DataFolders.h"
#include "Records/RecordText.h"
#include "Resources/MainWindowIds.h"
#include "Resources/PhotoAlbumIds.h"
#include "Shell/PageSetup.h"
#include "CraftedMetafiles.h"
#include "PhotoLikeJpeg.h"
#include "Support/DialogDriver.h"
#include "Support/FileBytes.h"
#include "Support/TestMainWindow.h"
#include "Support/TypedInput.h"
#include "TestPictures.h"

using namespace qmtest;

namespace {

constexpr char kCaption[] = "Photo Album";

// A 24-bit BMP of one colour (0x00RRGGBB) at 96 dots per inch.
void WriteBmp(const std::string& path, int width, int height, std::uint32_t colour) {
  const std::uint32_t stride = (width * 3 + 3) & ~3u;
  Bytes file(54 + static_cast<std::size_t>(stride) * height, 0);
  auto put = [&file](std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) file[at + i] = static_cast<unsigned char>(value >> (8 * i));
  };
  file[0] = 'B', file[1] = 'M';
  put(2, static_cast<std::uint32_t>(file.size()));
  put(10, 54);
  put(14, 40);
  put(18, width);
  put(22, height);
  put(26, 1 | 24 << 16);
  put(38, 3780);
  put(42, 3780);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      unsigned char* p = &file[54 + y * stride + x * 3];
      p[0] = static_cast<unsigned char>(colour), p[1] = static_cast<unsigned char>(colour >> 8);
      p[2] = static_cast<unsigned char>(colour >> 16);
    }
  }
  WriteFileBytes(path, file);
}

// The open-file dialog's answer for the next Add New Photos.
std::string gChosen;
bool ChooseFiles(HWND, std::string& buffer) {
  buffer = gChosen;
  return !gChosen.empty();
}

// A photo record whose stored name is taken as it is (AddPhoto would
// lower-case the extension), the picture copied there from source.
void AddStoredPhoto(const char* title, const std::string& storedName, const std::string& source) {
  WriteFileBytes(gPhotoFolder + storedName, ReadFileBytes(source));
  auto store = OpenStore<DatabaseDataPhotoAlbum>();
  ASSERT_TRUE(store);
  CopyRecordText(store->Data().title, title);
  CopyRecordText(store->Data().comment, "stored");
  CopyRecordText(store->Data().fileName, storedName.c_str());
  store->AddRecord();
  CloseStore(store);
}

RECT ViewRect(HWND dialog) {
  HWND frame = GetDlgItem(dialog, IDC_PHOTO_FRAME);
  RECT view = {0, 0, 0, 0};
  GetWindowRect(GetDlgItem(frame, IDC_PHOTO_VIEW), &view);
  MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(&view), 2);
  return view;
}

RECT FrameClient(HWND dialog) {
  RECT client = {0, 0, 0, 0};
  GetClientRect(GetDlgItem(dialog, IDC_PHOTO_FRAME), &client);
  return client;
}

void Command(HWND dialog, int id) { SendMessageA(dialog, WM_COMMAND, id, 0); }

class PhotoAlbumDialogTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    SetPhotoFileChooser(ChooseFiles);
  }
  void TearDown() override {
    SetPhotoFileChooser(nullptr);
    MainWindowTest::TearDown();
  }
  // Three photos of 200 x 100, 100 x 200 and 300 x 150 made in the scratch
  // folder and added through Add New Photos.
  void AddThreePhotos() {
    const std::string folder = m_folder.PathOf("source");
    CreateDirectoryA(folder.c_str(), nullptr);
    WriteBmp(folder + "\\wide.bmp", 200, 100, 0xFF0000);
    WriteBmp(folder + "\\Tall.BMP", 100, 200, 0x00FF00);
    WriteBmp(folder + "\\third.bmp", 300, 150, 0x0000FF);
    gChosen = folder + std::string("\0wide.bmp\0Tall.BMP\0third.bmp\0\0", 30);
    m_main->Command(IDM_ADD_PHOTO);
  }
};

}  // namespace

TEST_F(PhotoAlbumDialogTest, AddNewPhotosAddsEachChosenFileInOrderAndCopiesIt) {
  AddThreePhotos();
  const auto records = StoredRecords<DatabaseDataPhotoAlbum>();
  ASSERT_EQ(records.size(), 3u);
  const char* titles[] = {"wide.bmp", "Tall.BMP", "third.bmp"};
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(RecordTextOf(records[i].second.title), titles[i]);
    EXPECT_EQ(RecordTextOf(records[i].second.comment), "No Comment");
    const std::string stored = RecordTextOf(records[i].second.fileName);
    EXPECT_EQ(stored.substr(stored.size() - 4), ".bmp");  // the copy's extension in lower case
    const std::size_t pixelBytes[] = {600 * 100, 300 * 200, 900 * 150};
    EXPECT_EQ(ReadFileBytes(gPhotoFolder + stored).size(), 54 + pixelBytes[i]);
  }
  EXPECT_EQ(m_main->Rows().size(), 3u);
  // One file chosen: the buffer is its full path.
  gChosen = m_folder.PathOf("source") + "\\third.bmp" + std::string(2, '\0');
  m_main->Command(IDM_ADD_PHOTO);
  ASSERT_EQ(StoredRecords<DatabaseDataPhotoAlbum>().size(), 4u);
  EXPECT_EQ(RecordTextOf(StoredRecords<DatabaseDataPhotoAlbum>()[3].second.title), "third.bmp");
  // Cancelled: nothing added.
  gChosen.clear();
  m_main->Command(IDM_ADD_PHOTO);
  EXPECT_EQ(StoredRecords<DatabaseDataPhotoAlbum>().size(), 4u);
  EXPECT_TRUE(m_boxes.shown.empty());
}

TEST_F(PhotoAlbumDialogTest, AlbumStepsThroughThePhotosStopsAtBothEndsAndFitsEachToTheFrame) {
  AddThreePhotos();
  bool ran = DriveDialog(kCaption, [this] { m_main->Command(IDM_PREVIEW_PHOTO_ALBUM); }, [](HWND dialog) {
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_PHOTO_UPDATE)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_PHOTO_TITLE)));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDC_PHOTO_FORWARD)));
    EXPECT_EQ(TextOf(dialog, IDC_PHOTO_TITLE), "wide.bmp");
    EXPECT_EQ(TextOf(dialog, IDC_PHOTO_COMMENT), "No Comment");
    // A 2:1 photo at fit to window: the frame's width, half as high, centred.
    const RECT client = FrameClient(dialog);
    RECT view = ViewRect(dialog);
    EXPECT_EQ(view.right - view.left, client.right);
    EXPECT_EQ(view.bottom - view.top, client.right / 2);
    EXPECT_EQ(view.top, (client.bottom - client.right / 2) / 2);
    const char* expected[] = {"Tall.BMP", "third.bmp", "third.bmp", "third.bmp"};
    for (const char* title : expected) {
      Press(dialog, IDC_PHOTO_FORWARD);
      EXPECT_EQ(TextOf(dialog, IDC_PHOTO_TITLE), title);
    }
    // The portrait photo: the widest view strictly lower than the frame.
    Press(dialog, IDC_PHOTO_BACK);
    EXPECT_EQ(TextOf(dialog, IDC_PHOTO_TITLE), "Tall.BMP");
    view = ViewRect(dialog);
    EXPECT_LT(view.bottom - view.top, FrameClient(dialog).bottom);
    EXPECT_EQ(view.bottom - view.top, 2 * (view.right - view.left));
    for (int i = 0; i < 3; ++i) Press(dialog, IDC_PHOTO_BACK);
    EXPECT_EQ(TextOf(dialog, IDC_PHOTO_TITLE), "wide.bmp");
    Press(dialog, IDC_PHOTO_CLOSE);
  });
  EXPECT_TRUE(ran);
  EXPECT_TRUE(m_boxes.shown.empty());
}

TEST_F(PhotoAlbumDialogTest, ZoomGrowsTenPercentPerStepStopsAboveSixteenAndScrolls) {
  AddThreePhotos();
  bool ran = DriveDialog(kCaption, [this] { m_main->Command(IDM_PREVIEW_PHOTO_ALBUM); }, [](HWND dialog) {
    const int fitWidth = ViewRect(dialog).right - ViewRect(dialog).left;
    HWND frame = GetDlgItem(dialog, IDC_PHOTO_FRAME);
    int steps = 0, width = fitWidth;
    double zoom = 1;
    for (; steps < 40; ++steps) {
      Command(dialog, IDM_PHOTO_ZOOM_IN);
      const int grown = ViewRect(dialog).right - ViewRect(dialog).left;
      if (grown == width) break;
      // The frame's width (less the bars that now show) times the zoom.
      zoom *= 1.1;
      EXPECT_NEAR(grown, FrameClient(dialog).right * zoom, 0.001 * grown + 1) << steps;
      width = grown;
    }
    EXPECT_EQ(steps, 30);  // the step that starts above 16 is refused
    EXPECT_GT(width, 16 * FrameClient(dialog).right);
    // Scrolling moves the view by 10 and 50 pixels, never past the range.
    const RECT before = ViewRect(dialog);
    SendMessageA(frame, WM_HSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(ViewRect(dialog).left, before.left - 10);
    SendMessageA(frame, WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(ViewRect(dialog).top, before.top - 50);
    SendMessageA(frame, WM_HSCROLL, SB_PAGEUP, 0);
    EXPECT_EQ(ViewRect(dialog).left, before.left);
    // Zoom out below the frame: centred, and no scrolling at all.
    for (int i = 0; i < 40; ++i) Command(dialog, IDM_PHOTO_ZOOM_OUT);
    const RECT small = ViewRect(dialog);
    EXPECT_GT(small.left, 0);
    int minimum = 0, maximum = 0;
    GetScrollRange(frame, SB_HORZ, &minimum, &maximum);
    EXPECT_EQ(maximum, 0);
    Command(dialog, IDM_PHOTO_FIT);
    EXPECT_EQ(ViewRect(dialog).right - ViewRect(dialog).left, fitWidth);
    Press(dialog, IDC_PHOTO_CLOSE);
  });
  EXPECT_TRUE(ran);
}

TEST_F(PhotoAlbumDialogTest, AnUpperCaseJpgOpensUpdateChangesTitleAndCommentOnlyAndAnUnknownExtensionWarns) {
  AddStoredPhoto("Camera", "Photo2003.JPG", TestPicturePath("jpeg-rgb.jpg"));
  AddStoredPhoto("Odd", "Photo2004.xyz", TestPicturePath("jpeg-rgb.jpg"));
  m_main->Command(IDM_SHOW_PHOTOS);
  m_main->FocusRow(0);
  bool ran = DriveDialog(kCaption, [this] { m_main->Command(IDM_EDIT_PHOTO); }, [](HWND dialog) {
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_PHOTO_BACK)));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDC_PHOTO_UPDATE)));
    // The photo is shown, as large as fits.
    const RECT view = ViewRect(dialog);
    EXPECT_GT(view.right - view.left, FrameClient(dialog).right * 3 / 4);
    EXPECT_LT(view.bottom - view.top, FrameClient(dialog).bottom);
    TypeText(dialog, IDC_PHOTO_TITLE, "");
    Press(dialog, IDC_PHOTO_UPDATE);
    TypeText(dialog, IDC_PHOTO_TITLE, "Harbour");
    TypeText(dialog, IDC_PHOTO_COMMENT, "Evening light");
    Press(dialog, IDC_PHOTO_UPDATE);
    EXPECT_NE(FindDialog(kCaption), nullptr);  // Update keeps the dialog open
    Press(dialog, IDC_PHOTO_CLOSE);
  });
  ASSERT_TRUE(ran);
  ASSERT_EQ(m_boxes.shown.size(), 1u);
  EXPECT_EQ(m_boxes.shown[0].text, "Please Fill in All Fields.");
  const auto records = StoredRecords<DatabaseDataPhotoAlbum>();
  EXPECT_EQ(RecordTextOf(records[0].second.title), "Harbour");
  EXPECT_EQ(RecordTextOf(records[0].second.comment), "Evening light");
  EXPECT_EQ(RecordTextOf(records[0].second.fileName), "Photo2003.JPG");

  // A double click opens the same properties. An unknown extension: the
  // warning with the path, and an empty frame.
  m_main->FocusRow(1);
  ran = DriveDialog(kCaption, [this] { m_main->DoubleClickRecordList(); }, [](HWND dialog) {
    EXPECT_NE(GetDlgItem(dialog, IDC_PHOTO_FRAME), nullptr);
    EXPECT_EQ(ViewRect(dialog).right - ViewRect(dialog).left, 0);
    EXPECT_EQ(TextOf(dialog, IDC_PHOTO_TITLE), "Odd");
    Press(dialog, IDC_PHOTO_CLOSE);
  });
  EXPECT_TRUE(ran);
  ASSERT_EQ(m_boxes.shown.size(), 2u);
  EXPECT_EQ(m_boxes.shown[1].caption, "Filename with unknown extension");
  EXPECT_EQ(m_boxes.shown[1].text, gPhotoFolder + "Photo2004.xyz");
}

namespace {

// The print dialog's request as the photo dialog made it; cancelled.
PRINTDLGA gSeenRequest;
int gRequests = 0;
BOOL WINAPI CancelPrintDialog(PRINTDLGA* request) {
  ++gRequests;
  gSeenRequest = *request;
  return FALSE;
}

}  // namespace

TEST_F(PhotoAlbumDialogTest, PrintAsksForOnePageOnThePrinterOfThePageSetupAndCancelPrintsNothing) {
  AddThreePhotos();
  m_main->FocusRow(0);
  // A printer chosen in Page Setup earlier.
  const PAGESETUPDLGA savedSetup = gPageSetup;
  const HGLOBAL mode = GlobalAlloc(GMEM_MOVEABLE, 16);
  const HGLOBAL names = GlobalAlloc(GMEM_MOVEABLE, 16);
  gPageSetup.hDevMode = mode;
  gPageSetup.hDevNames = names;
  const PrintDialogFunction savedDialog = gPrintDialog;
  gPrintDialog = CancelPrintDialog;
  gRequests = 0;
  HWND photoDialog = nullptr;
  const bool ran = DriveDialog(kCaption, [this] { m_main->Command(IDM_EDIT_PHOTO); }, [&](HWND dialog) {
    photoDialog = dialog;
    Command(dialog, IDM_PHOTO_PRINT);
    Press(dialog, IDC_PHOTO_CLOSE);
  });
  gPrintDialog = savedDialog;
  GlobalFree(mode);
  GlobalFree(names);
  gPageSetup = savedSetup;

  ASSERT_TRUE(ran);
  ASSERT_EQ(gRequests, 1);
  EXPECT_EQ(gSeenRequest.hwndOwner, photoDialog);
  EXPECT_EQ(gSeenRequest.hDevMode, mode) << "the page setup's printer is offered";
  EXPECT_EQ(gSeenRequest.hDevNames, names);
  EXPECT_EQ(gSeenRequest.Flags & (PD_RETURNDC | PD_NOSELECTION), static_cast<DWORD>(PD_RETURNDC | PD_NOSELECTION));
  EXPECT_EQ(gSeenRequest.nMinPage, 1);
  EXPECT_EQ(gSeenRequest.nMaxPage, 1);
  EXPECT_EQ(gSeenRequest.nCopies, 1);
  EXPECT_TRUE(m_boxes.shown.empty()) << "a cancelled dialog prints nothing and asks nothing";
}

namespace {

// Pixels of the frame's client area drawn in the window text colour: the
// words of an empty frame.
int TextPixelsInFrame(HWND dialog) {
  HWND frame = GetDlgItem(dialog, IDC_PHOTO_FRAME);
  RedrawWindow(frame, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  RECT client;
  GetClientRect(frame, &client);
  HDC dc = GetDC(frame);
  const COLORREF text = GetSysColor(COLOR_WINDOWTEXT);
  int count = 0;
  for (int y = 0; y < client.bottom; y += 2) {
    for (int x = 0; x < client.right; x += 2) count += GetPixel(dc, x, y) == text;
  }
  ReleaseDC(frame, dc);
  return count;
}

}  // namespace

// A notification that shows its list while the album is open no longer
// changes what Back and Forward step through: the album keeps the photo
// rows it opened with.
TEST_F(PhotoAlbumDialogTest, TheAlbumStepsThroughThePhotosItOpenedWithWhenTheListShowsAnotherKind) {
  AddThreePhotos();
  {
    auto store = OpenStore<DatabaseDataEmailRes>();
    ASSERT_TRUE(store);
    for (int i = 0; i < 3; ++i) store->AddRecord();
    CloseStore(store);
  }
  m_main->Command(IDM_SHOW_PHOTOS);
  std::vector<std::string> titles;
  ASSERT_TRUE(DriveDialog(kCaption, [this] { m_main->Command(IDM_PREVIEW_PHOTO_ALBUM); }, [&](HWND dialog) {
    Press(dialog, IDC_PHOTO_FORWARD);
    titles.push_back(TextOf(dialog, IDC_PHOTO_TITLE));
    m_main->Command(IDM_SHOW_EMAIL_RESOURCES);
    for (int id : {IDC_PHOTO_FORWARD, IDC_PHOTO_FORWARD, IDC_PHOTO_BACK, IDC_PHOTO_BACK, IDC_PHOTO_BACK}) {
      Press(dialog, id);
      titles.push_back(TextOf(dialog, IDC_PHOTO_TITLE));
    }
    EXPECT_GT(ViewRect(dialog).right - ViewRect(dialog).left, 0);
    Press(dialog, IDC_PHOTO_CLOSE);
  }));
  const std::vector<std::string> expected = {"Tall.BMP", "third.bmp", "third.bmp", "Tall.BMP", "wide.bmp", "wide.bmp"};
  EXPECT_EQ(titles, expected);
  EXPECT_TRUE(m_boxes.shown.empty()) << m_boxes.shown[0].caption << ": " << m_boxes.shown[0].text;
}

// A first photo of unknown extension: the warning, and the frame and view
// are there for the next photo. A photo that cannot be decoded (bytes that
// are no picture, metafiles made to end or hang the player) opens without a
// hang and the frame says it cannot be shown.
TEST_F(PhotoAlbumDialogTest, FirstRowOfUnknownExtensionAndUndecodablePhotosLeaveAWorkingAlbumThatSaysWhy) {
  const std::string source = m_folder.PathOf("source");
  CreateDirectoryA(source.c_str(), nullptr);
  WriteFileText(source + "\\not-a-picture.jpg", "Dear diary, today I took no photo.");
  EmfRecord zero = EmfRectangle(10, 10);
  zero.zeroSize = true;
  WriteFileBytes(source + "\\zero-record.emf", CraftEmf(2540, 2540, 1, {zero}));
  WriteFileBytes(source + "\\polygon.wmf", CraftWmf(1000, 1000, 1, {{0x0324, Words16({30000, 0, 0, 1, 1})}}));
  WriteBmp(source + "\\good.bmp", 200, 100, 0x336699);
  AddStoredPhoto("Odd", "Photo1.xyz", source + "\\good.bmp");
  AddStoredPhoto("Diary", "Photo2.jpg", source + "\\not-a-picture.jpg");
  AddStoredPhoto("Zero", "Photo3.emf", source + "\\zero-record.emf");
  AddStoredPhoto("Polygon", "Photo4.wmf", source + "\\polygon.wmf");
  AddStoredPhoto("Good", "Photo5.bmp", source + "\\good.bmp");
  m_main->Command(IDM_SHOW_PHOTOS);
  std::vector<int> textPixels;
  ASSERT_TRUE(DriveDialog(kCaption, [this] { m_main->Command(IDM_PREVIEW_PHOTO_ALBUM); }, [&](HWND dialog) {
    ASSERT_NE(GetDlgItem(dialog, IDC_PHOTO_FRAME), nullptr);
    textPixels.push_back(TextPixelsInFrame(dialog));
    for (const char* title : {"Diary", "Zero", "Polygon"}) {
      Press(dialog, IDC_PHOTO_FORWARD);
      EXPECT_EQ(TextOf(dialog, IDC_PHOTO_TITLE), title);
      EXPECT_EQ(ViewRect(dialog).right - ViewRect(dialog).left, 0) << title;
      textPixels.push_back(TextPixelsInFrame(dialog));
    }
    Press(dialog, IDC_PHOTO_FORWARD);
    EXPECT_EQ(TextOf(dialog, IDC_PHOTO_TITLE), "Good");
    EXPECT_EQ(ViewRect(dialog).right - ViewRect(dialog).left, FrameClient(dialog).right);
    Press(dialog, IDC_PHOTO_CLOSE);
  }));
  ASSERT_EQ(textPixels.size(), 4u);
  for (int pixels : textPixels) EXPECT_GT(pixels, 20);
  ASSERT_EQ(m_boxes.shown.size(), 1u);
  EXPECT_EQ(m_boxes.shown[0].caption, "Filename with unknown extension");
}

// Add New Photos adds what a decoder accepts and names every other file in
// one box.
TEST_F(PhotoAlbumDialogTest, AddNewPhotosRefusesFilesNoDecoderAcceptsAndNamesEachInABox) {
  const std::string source = m_folder.PathOf("source");
  CreateDirectoryA(source.c_str(), nullptr);
  WriteBmp(source + "\\good.bmp", 20, 10, 0x112233);
  WriteFileText(source + "\\letter.jpg", "not a picture at all");
  WriteFileText(source + "\\notes.txt", "shopping list");
  WriteFileBytes(source + "\\hostile.emf", CraftEmf(2540, 2540, 1, {EmfPolyline(1u << 28, 2)}));
  gChosen = source + std::string("\0letter.jpg\0good.bmp\0notes.txt\0hostile.emf\0\0", 44);
  m_main->Command(IDM_ADD_PHOTO);
  const auto records = StoredRecords<DatabaseDataPhotoAlbum>();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(RecordTextOf(records[0].second.title), "good.bmp");
  EXPECT_EQ(m_main->Rows().size(), 1u);
  ASSERT_EQ(m_boxes.shown.size(), 1u);
  EXPECT_EQ(m_boxes.shown[0].owner, m_main->Handle());
  EXPECT_EQ(m_boxes.shown[0].style & 0xF0u, kMbIconWarning);
  for (const char* name : {"letter.jpg", "notes.txt", "hostile.emf"}) {
    EXPECT_NE(m_boxes.shown[0].text.find(source + "\\" + name), std::string::npos) << m_boxes.shown[0].text;
  }
  EXPECT_EQ(m_boxes.shown[0].text.find("good.bmp"), std::string::npos);
}

namespace {

struct SlowDecodeUser {
  DWORD start = 0;
  DWORD shownAfterMs = 0;
  bool sawFrame = false;
};

DWORD WINAPI PlayTheUser(LPVOID parameter) {
  auto* user = static_cast<SlowDecodeUser*>(parameter);
  for (int tries = 0; tries < 600; ++tries) {
    HWND dialog = FindWindowA(nullptr, kCaption);
    if (dialog && IsWindowVisible(dialog)) {
      if (!user->shownAfterMs) user->shownAfterMs = GetTickCount() - user->start;
      user->sawFrame = user->sawFrame || GetDlgItem(dialog, IDC_PHOTO_FRAME) != nullptr;
      PostMessageA(GetDlgItem(dialog, IDC_PHOTO_CLOSE), BM_CLICK, 0, 0);
    } else if (user->shownAfterMs) {
      return 0;
    }
    Sleep(100);
  }
  return 0;
}

}  // namespace

// A progressive JPEG of many scans takes many seconds to decode. The dialog
// appears at once with the frame saying it is loading, and Close ends it
// (and the decode) at once.
TEST_F(PhotoAlbumDialogTest, ASlowDecodeShowsTheDialogAtOnceAndCloseStopsIt) {
  const std::vector<unsigned char> progressive = PhotoLikeJpeg(2000, 1500, true);
  std::size_t lastScan = 0;
  for (std::size_t i = 2; i + 1 < progressive.size(); ++i) {
    if (progressive[i] == 0xFF && progressive[i + 1] == 0xDA) lastScan = i;
  }
  Bytes slow(progressive.begin(), progressive.end() - 2);
  for (int scan = 10; scan < 95; ++scan) slow.insert(slow.end(), progressive.begin() + lastScan, progressive.end() - 2);
  slow.push_back(0xFF);
  slow.push_back(0xD9);
  const std::string source = m_folder.PathOf("slow.jpg");
  WriteFileBytes(source, slow);
  AddStoredPhoto("Slow", "Photo1.jpg", source);
  m_main->Command(IDM_SHOW_PHOTOS);
  m_main->FocusRow(0);

  // A second thread plays the user: it waits for the dialog to show, sees
  // the frame, and presses Close.
  SlowDecodeUser user;
  user.start = GetTickCount();
  HANDLE thread = CreateThread(nullptr, 0, PlayTheUser, &user, 0, nullptr);
  ASSERT_NE(thread, nullptr);
  m_main->Command(IDM_EDIT_PHOTO);
  const DWORD closedAfterMs = GetTickCount() - user.start;
  WaitForSingleObject(thread, 70000);
  CloseHandle(thread);
  std::printf("a %zu-byte JPEG of 95 scans: dialog shown after %lu ms, closed after %lu ms\n", slow.size(),
              static_cast<unsigned long>(user.shownAfterMs), static_cast<unsigned long>(closedAfterMs));
  EXPECT_TRUE(user.sawFrame);
  EXPECT_GT(user.shownAfterMs, 0u);
  EXPECT_LT(user.shownAfterMs, 3000u);
  EXPECT_LT(closedAfterMs, 5000u);
}

namespace {

int ScrollPosition(HWND dialog, int bar) {
  return GetScrollPos(GetDlgItem(dialog, IDC_PHOTO_FRAME), bar);
}

// A key or a wheel turn, then what the dialog's loop makes of it.
void Key(HWND dialog, WORD key, WORD modifier = 0) {
  TypeKey(key, modifier);
  PumpAsDialog(dialog);
}

POINT FrameCentre(HWND dialog) {
  RECT frame;
  GetWindowRect(GetDlgItem(dialog, IDC_PHOTO_FRAME), &frame);
  return {(frame.left + frame.right) / 2, (frame.top + frame.bottom) / 2};
}

void Wheel(HWND dialog, int notches, WORD modifier = 0) {
  TurnWheel(FrameCentre(dialog), notches * WHEEL_DELTA, modifier);
  PumpAsDialog(dialog);
}

// What one wheel notch scrolls: the lines the user set, 10 pixels each.
int NotchPixels() {
  UINT lines = 3;
  SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  return static_cast<int>(lines) * 10;
}

}  // namespace

// The photo from the keyboard and the wheel: the wheel scrolls it (with
// Shift sideways), the arrow keys too wherever the focus is but in an edit
// box, which keeps them for its caret; Page Down and Page Up are Forward
// and Back, and "n of m" says which photo is shown.
TEST_F(PhotoAlbumDialogTest, WheelAndArrowsScrollThePhotoPageKeysStepAndTheDialogSaysNOfM) {
  AddThreePhotos();
  std::vector<std::string> positions;
  ASSERT_TRUE(DriveDialog(kCaption, [this] { m_main->Command(IDM_PREVIEW_PHOTO_ALBUM); }, [&](HWND dialog) {
    SetForegroundWindow(dialog);
    EXPECT_EQ(TextOf(dialog, IDC_PHOTO_POSITION), "1 of 3");
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_PHOTO_BACK));
    for (int i = 0; i < 12; ++i) Command(dialog, IDM_PHOTO_ZOOM_IN);
    ASSERT_EQ(ScrollPosition(dialog, SB_VERT), 0);
    const RECT top = ViewRect(dialog);
    Wheel(dialog, -1);
    EXPECT_EQ(ScrollPosition(dialog, SB_VERT), NotchPixels());
    EXPECT_EQ(ViewRect(dialog).top, top.top - NotchPixels()) << "the view moved with the bar";
    Wheel(dialog, -1, VK_SHIFT);
    EXPECT_EQ(ScrollPosition(dialog, SB_HORZ), NotchPixels());
    EXPECT_EQ(ScrollPosition(dialog, SB_VERT), NotchPixels());
    // The arrows, the focus on a button: 10 pixels each.
    Key(dialog, VK_DOWN);
    Key(dialog, VK_RIGHT);
    Key(dialog, VK_RIGHT);
    EXPECT_EQ(ScrollPosition(dialog, SB_VERT), NotchPixels() + 10);
    EXPECT_EQ(ScrollPosition(dialog, SB_HORZ), NotchPixels() + 20);
    Key(dialog, VK_LEFT);
    Key(dialog, VK_UP);
    EXPECT_EQ(ScrollPosition(dialog, SB_HORZ), NotchPixels() + 10);
    EXPECT_EQ(ScrollPosition(dialog, SB_VERT), NotchPixels());
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_PHOTO_BACK)) << "the arrows did not move the focus";
    // Turned back further than the top: it stops there.
    Wheel(dialog, 3);
    EXPECT_EQ(ScrollPosition(dialog, SB_VERT), 0);
    // Page Down to the last photo and past it, then Page Up to the first.
    for (int i = 0; i < 3; ++i) {
      Key(dialog, VK_NEXT);
      positions.push_back(TextOf(dialog, IDC_PHOTO_POSITION) + " " + TextOf(dialog, IDC_PHOTO_TITLE));
    }
    for (int i = 0; i < 3; ++i) {
      Key(dialog, VK_PRIOR);
      positions.push_back(TextOf(dialog, IDC_PHOTO_POSITION) + " " + TextOf(dialog, IDC_PHOTO_TITLE));
    }
    Press(dialog, IDC_PHOTO_CLOSE);
  }));
  const std::vector<std::string> expected = {"2 of 3 Tall.BMP", "3 of 3 third.bmp", "3 of 3 third.bmp",
                                             "2 of 3 Tall.BMP", "1 of 3 wide.bmp",  "1 of 3 wide.bmp"};
  EXPECT_EQ(positions, expected);

  // The properties of the second photo: arrows in the title move its caret
  // and leave the photo where it is, until a click on the photo gives them
  // to it. Page Down does not step (there is no Forward here).
  m_main->FocusRow(1);
  ASSERT_TRUE(DriveDialog(kCaption, [this] { m_main->Command(IDM_EDIT_PHOTO); }, [&](HWND dialog) {
    SetForegroundWindow(dialog);
    EXPECT_EQ(TextOf(dialog, IDC_PHOTO_POSITION), "2 of 3");
    for (int i = 0; i < 12; ++i) Command(dialog, IDM_PHOTO_ZOOM_IN);
    HWND title = GetDlgItem(dialog, IDC_PHOTO_TITLE);
    SetFocus(title);
    Key(dialog, VK_HOME);
    Key(dialog, VK_RIGHT);
    Key(dialog, VK_RIGHT);
    Key(dialog, VK_DOWN);
    DWORD start = 0, end = 0;
    SendMessageA(title, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    // Down moves a one-line edit box's caret on, as Right does.
    EXPECT_EQ(start, 3u);
    EXPECT_EQ(end, 3u);
    EXPECT_EQ(ScrollPosition(dialog, SB_HORZ), 0);
    EXPECT_EQ(ScrollPosition(dialog, SB_VERT), 0);
    Key(dialog, VK_NEXT);
    EXPECT_EQ(TextOf(dialog, IDC_PHOTO_TITLE), "Tall.BMP");
    EXPECT_EQ(TextOf(dialog, IDC_PHOTO_POSITION), "2 of 3");
    ClickAt(FrameCentre(dialog));
    PumpAsDialog(dialog);
    Key(dialog, VK_RIGHT);
    EXPECT_EQ(ScrollPosition(dialog, SB_HORZ), 10);
    Press(dialog, IDC_PHOTO_CLOSE);
  }));
  EXPECT_TRUE(m_boxes.shown.empty());
}
