// The capture dialog's opening, driver connection, commands and ending; the
// frame and the capture window's layout are CaptureFrame's.
#include "Editors/VideoCaptureDialog.h"

#include <mmsystem.h>
#include <mmreg.h>
#include <msacm.h>
#include <vfw.h>

#include <algorithm>
#include <cstdio>
#include <iterator>

#include "Editors/CaptureFrame.h"
#include "Library/CComboBox.h"
#include "Library/CFile.h"
#include "Library/CStatusbar.h"
#include "Managers/CEditorDialog.h"
#include "Managers/RecordManager.h"
#include "Media/CCaptureWindow.h"
#include "Media/CWaveFile.h"
#include "Records/AttachmentName.h"
#include "Records/DataFolders.h"
#include "Records/MessageBoxSeam.h"
#include "Resources/VideoNoteIds.h"

namespace {

constexpr int kFrameX = 6, kFrameY = 10, kFrameWidth = 355, kFrameHeight = 255;
constexpr int kCaptureWindowId = 1;
constexpr UINT kPreviewMilliseconds = 33;
// While a capture runs, the file's size in the status bar's last part.
constexpr UINT_PTR kFileSizeTimer = 1;
constexpr UINT kFileSizeMilliseconds = 500;
constexpr int kFileSizePart = 2;

const char kNoDrivers[] = "No Video Capture drivers are installed. Please install them first.";
const char kCannotConnect[] =
    "Cannot connect do the Video Capture device. Please check if the device is properly connected, drivers are "
    "installed or if device is not used by other application.";

const int kTextFields[] = {IDC_VIDEO_TITLE};
const EditorTemplate kTemplate = {IDD_VIDEO_CAPTURE, RecordKind::VideoNote, IDC_VIDEO_SAVE,
                                  IDC_VIDEO_CLOSE,   kTextFields,           std::size(kTextFields),
                                  true};

// Cleared by the first recording with an uncompressed palettised format:
// the default-palette question is asked once per run.
bool gCheckPalette = true;

class CVideoCaptureDialog;
CVideoCaptureDialog* gOpenDialog = nullptr;

class CVideoCaptureDialog : public CEditorDialog {
 public:
  CVideoCaptureDialog() : CEditorDialog(kTemplate) {}
  ~CVideoCaptureDialog() override {
    if (gOpenDialog == this) gOpenDialog = nullptr;
  }

  const std::string& CapturePath() const { return m_path; }
  void OnStatus(const char* text);

 private:
  void OnInit() override;
  void OnSave() override;
  bool OnCommand(int id, int notifyCode) override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;
  bool CanCancel() override;
  bool IsTaking() override {
    RefreshStatus();
    return m_status.fCapturingNow != FALSE;
  }
  void EndTake() override { Stop(); }
  bool HasUnsavedWork() override { return FileHoldsData(m_path) || ControlsChanged(); }

  bool Connect(int driver);
  void RefreshStatus() { m_capture.Send(WM_CAP_GET_STATUS, sizeof m_status, reinterpret_cast<LPARAM>(&m_status)); }
  void Enable(int id, bool on) const { EnableWindow(GetDlgItem(Dialog(), id), on); }
  void ChooseAudioFormat();
  void Record();
  void Stop();
  void Release();
  void ShowFileSize();
  HMENU SettingsMenu() const { return GetSubMenu(GetMenu(Dialog()), 0); }

  CCaptureWindow m_capture;
  HWND m_frame = nullptr;
  CStatusbar m_statusBar;
  CAPSTATUS m_status = {};
  CAPDRIVERCAPS m_caps = {};
  CAPTUREPARMS m_parameters = {};
  int m_driverCount = 0;
  bool m_connected = false;
  int m_driver = 0;
  bool m_preview = false;
  bool m_screenCapture = false;
  bool m_choosingAudio = false;
  std::string m_path;
  std::string m_fileName;
};

LRESULT CALLBACK StatusCallback(HWND, int, LPCSTR text) {
  if (gOpenDialog) gOpenDialog->OnStatus(text ? text : "");
  return TRUE;
}

// Runs on the capture's thread: keeps that thread's queue moving.
LRESULT CALLBACK YieldCallback(HWND) {
  MSG message;
  if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return TRUE;
}

void CVideoCaptureDialog::OnInit() {
  gOpenDialog = this;
  SetMenu(Dialog(), LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_VIDEO_CAPTURE_MENU)));
  m_frame = CreateCaptureFrame(Dialog(), kFrameX, kFrameY, kFrameWidth, kFrameHeight, m_capture);
  RECT client = {};
  if (m_frame) GetClientRect(m_frame, &client);
  if (m_frame && m_capture.Create(m_frame, kCaptureWindowId, 0, 0, client.right, client.bottom)) {
    m_capture.Send(WM_CAP_SET_CALLBACK_STATUSA, 0, reinterpret_cast<LPARAM>(StatusCallback));
    m_capture.Send(WM_CAP_GET_SEQUENCE_SETUP, sizeof m_parameters, reinterpret_cast<LPARAM>(&m_parameters));
  }

  std::string description, version;
  for (m_driverCount = 0; m_driverCount < CCaptureWindow::kMaxDrivers &&
                          m_capture.DriverDescription(m_driverCount, description, version);
       ++m_driverCount) {
    const std::string item = description + ",   " + version;
    AppendMenuA(SettingsMenu(), MF_STRING, IDM_VIDEO_DRIVER_FIRST + m_driverCount, item.c_str());
  }
  DrawMenuBar(Dialog());

  if (m_driverCount > 0) Connect(0);
  if (m_frame) LayOutCaptureWindow(m_frame);
  if (m_driverCount == 0) ShowBox(kNoDrivers, "Driver Check", kMbOk | kMbIconWarning);
  if (!m_connected) ShowBox(kCannotConnect, "Connection to Video Device", kMbOk | kMbIconWarning);

  m_statusBar.Create(Dialog(), IDC_VIDEO_STATUS, 0, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0);
  const int edges[] = {20, 250, -1};
  m_statusBar.SetParts(3, edges);
  m_statusBar.SetPartText(1, "Ready");
  CComboBox types(Dialog(), IDC_VIDEO_TYPE);
  types.AddString("Normal");
  types.AddString("Urgent");
  types.SetCurSel(0);
  Enable(IDC_VIDEO_RECORD, true);
  Enable(IDC_VIDEO_STOP, false);
  Enable(IDC_VIDEO_SAVE, false);
}

bool CVideoCaptureDialog::Connect(int driver) {
  m_connected = m_capture.Connect(driver);
  if (m_connected) {
    m_driver = driver;
    // Every driver that connects records into the data folder, also one
    // chosen after the first could not connect.
    if (m_path.empty()) {
      MakeAttachmentName(gVideoNoteFolder, "VideoNote", "avi", m_path);
      m_fileName = BareFileName(m_path);
      // The program's one sound format, the wave recorder's; a format
      // chosen later is kept across drivers by the capture window.
      WAVEFORMATEX sound = RecordingFormat();
      m_capture.Send(WM_CAP_SET_AUDIOFORMAT, sizeof sound, reinterpret_cast<LPARAM>(&sound));
    }
    m_capture.Send(WM_CAP_FILE_SET_CAPTURE_FILEA, 0, reinterpret_cast<LPARAM>(m_path.c_str()));
  } else {
    m_preview = false;
  }
  m_capture.Send(WM_CAP_DRIVER_GET_CAPS, sizeof m_caps, reinterpret_cast<LPARAM>(&m_caps));
  RefreshStatus();
  for (int n = 0; n < m_driverCount; ++n) {
    CheckMenuItem(SettingsMenu(), IDM_VIDEO_DRIVER_FIRST + n,
                  MF_BYCOMMAND | (m_connected && n == driver ? MF_CHECKED : MF_UNCHECKED));
  }
  std::string description, version;
  m_screenCapture = m_capture.DriverDescription(driver, description, version) &&
                    description.find("Screen Capture") != std::string::npos;
  m_capture.Send(WM_CAP_SET_PREVIEWRATE, m_connected ? kPreviewMilliseconds : 0, 0);
  return m_connected;
}

void CVideoCaptureDialog::OnStatus(const char* text) {
  m_statusBar.SetPartText(1, text);
  RefreshStatus();
  Enable(IDC_VIDEO_CLOSE, !m_status.fCapturingNow);
  Enable(IDC_VIDEO_SAVE, !m_status.fCapturingNow);
  // A capture can also end by itself (it could not be written, its abort
  // key): then Record must come back and Stop go, or no new take could be
  // started.
  if (!m_status.fCapturingNow) {
    Enable(IDC_VIDEO_RECORD, true);
    Enable(IDC_VIDEO_STOP, false);
    KillTimer(Dialog(), kFileSizeTimer);
    ShowFileSize();
  }
}

// Read from the disk, so it is right whichever driver writes the file.
void CVideoCaptureDialog::ShowFileSize() {
  WIN32_FILE_ATTRIBUTE_DATA file = {};
  if (m_path.empty() || !GetFileAttributesExA(m_path.c_str(), GetFileExInfoStandard, &file)) {
    m_statusBar.SetPartText(kFileSizePart, "");
    return;
  }
  const unsigned long long bytes = (static_cast<unsigned long long>(file.nFileSizeHigh) << 32) | file.nFileSizeLow;
  char text[64];
  std::snprintf(text, sizeof text, "File: %.1f MB", static_cast<double>(bytes) / (1024.0 * 1024.0));
  m_statusBar.SetPartText(kFileSizePart, text);
}

void CVideoCaptureDialog::ChooseAudioFormat() {
  if (m_choosingAudio) return;
  m_choosingAudio = true;
  DWORD largest = 0;
  acmMetrics(nullptr, ACM_METRIC_MAX_SIZE_FORMAT, &largest);
  const DWORD current = static_cast<DWORD>(m_capture.Send(WM_CAP_GET_AUDIOFORMAT, 0, 0));
  const DWORD size = std::max<DWORD>(std::max(largest, current), sizeof(WAVEFORMATEX));
  HGLOBAL block = GlobalAlloc(GHND, size);
  auto* format = block ? static_cast<WAVEFORMATEX*>(GlobalLock(block)) : nullptr;
  if (format) {
    m_capture.Send(WM_CAP_GET_AUDIOFORMAT, size, reinterpret_cast<LPARAM>(format));
    ACMFORMATCHOOSEA choose = {};
    choose.cbStruct = sizeof choose;
    choose.fdwStyle = ACMFORMATCHOOSE_STYLEF_INITTOWFXSTRUCT;
    choose.hwndOwner = Dialog();
    choose.pwfx = format;
    choose.cbwfx = size;
    choose.fdwEnum = ACM_FORMATENUMF_HARDWARE | ACM_FORMATENUMF_INPUT;
    if (acmFormatChooseA(&choose) == MMSYSERR_NOERROR) {
      m_capture.Send(WM_CAP_SET_AUDIOFORMAT, 18 + format->cbSize, reinterpret_cast<LPARAM>(format));
    }
    GlobalUnlock(block);
  }
  if (block) GlobalFree(block);
  m_choosingAudio = false;
}

void CVideoCaptureDialog::Record() {
  if (gCheckPalette) {
    BITMAPINFOHEADER format = {};
    m_capture.Send(WM_CAP_GET_VIDEOFORMAT, sizeof format, reinterpret_cast<LPARAM>(&format));
    if (format.biCompression == BI_RGB && format.biBitCount <= 8) {
      gCheckPalette = false;
      RefreshStatus();
      if (m_status.fUsingDefaultPalette &&
          ShowBox("Continue Using default pallete?", "Video Capture", kMbOkCancel | kMbIconWarning) == kIdCancel) {
        return;
      }
    }
  }
  m_capture.Send(WM_CAP_GET_SEQUENCE_SETUP, sizeof m_parameters, reinterpret_cast<LPARAM>(&m_parameters));
  m_parameters.fAbortLeftMouse = FALSE;
  m_parameters.fAbortRightMouse = FALSE;
  m_parameters.fYield = TRUE;
  m_parameters.fCaptureAudio = TRUE;
  m_capture.Send(WM_CAP_SET_CALLBACK_YIELD, 0, reinterpret_cast<LPARAM>(m_screenCapture ? YieldCallback : nullptr));
  m_capture.Send(WM_CAP_SET_SEQUENCE_SETUP, sizeof m_parameters, reinterpret_cast<LPARAM>(&m_parameters));
  if (!m_path.empty()) DeleteFileA(m_path.c_str());
  if (!m_capture.Send(WM_CAP_SEQUENCE)) return;
  // A capture that ended at once (a file that cannot be made) has already
  // given Record back through the status callback.
  RefreshStatus();
  if (!m_status.fCapturingNow) return;
  SetTimer(Dialog(), kFileSizeTimer, kFileSizeMilliseconds, nullptr);
  ShowFileSize();
  Enable(IDC_VIDEO_RECORD, false);
  Enable(IDC_VIDEO_STOP, true);
  Enable(IDC_VIDEO_SAVE, true);
}

bool CVideoCaptureDialog::OnCommand(int id, int) {
  switch (id) {
    case IDM_VIDEO_AUDIO_FORMAT:
      ChooseAudioFormat();
      return true;
    case IDM_VIDEO_FORMAT:
      if (m_caps.fHasDlgVideoFormat && m_capture.Send(WM_CAP_DLG_VIDEOFORMAT)) {
        RefreshStatus();
        LayOutCaptureWindow(m_frame);
      }
      return true;
    case IDM_VIDEO_SOURCE:
      if (m_caps.fHasDlgVideoSource) m_capture.Send(WM_CAP_DLG_VIDEOSOURCE);
      RefreshStatus();
      return true;
    case IDM_VIDEO_DISPLAY:
      if (m_caps.fHasDlgVideoDisplay) m_capture.Send(WM_CAP_DLG_VIDEODISPLAY);
      RefreshStatus();
      return true;
    case IDM_VIDEO_COMPRESSION:
    case IDC_VIDEO_COMPRESSION:
      m_capture.Send(WM_CAP_DLG_VIDEOCOMPRESSION);
      return true;
    case IDM_VIDEO_OVERLAY:
      RefreshStatus();
      return true;
    case IDC_VIDEO_PREVIEW:
      RefreshStatus();
      m_preview = !m_status.fLiveWindow;
      m_capture.Send(WM_CAP_SET_PREVIEW, m_preview, 0);
      return true;
    case IDC_VIDEO_RECORD:
      Record();
      return true;
    case IDC_VIDEO_STOP:
      Stop();
      return true;
    default:
      break;
  }
  if (id >= IDM_VIDEO_DRIVER_FIRST && id < IDM_VIDEO_DRIVER_FIRST + m_driverCount) {
    CheckDlgButton(Dialog(), IDC_VIDEO_PREVIEW, BST_UNCHECKED);
    m_capture.Send(WM_CAP_SET_PREVIEW, FALSE, 0);
    m_preview = false;
    if (!Connect(id - IDM_VIDEO_DRIVER_FIRST)) {
      ShowBox(kCannotConnect, "Connection to Video Device", kMbOk | kMbIconWarning);
    }
    return true;
  }
  return false;
}

bool CVideoCaptureDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR&) {
  if (message == WM_TIMER && wParam == kFileSizeTimer) {
    ShowFileSize();
    return true;
  }
  if (message == WM_SIZE && m_statusBar.GetWindow()) {
    SendMessageA(m_statusBar.GetWindow(), WM_SIZE, wParam, lParam);
  }
  return false;
}

void CVideoCaptureDialog::Stop() {
  if (!m_capture.Send(WM_CAP_STOP)) return;
  Enable(IDC_VIDEO_RECORD, true);
  Enable(IDC_VIDEO_STOP, false);
  Enable(IDC_VIDEO_CLOSE, true);
  Enable(IDC_VIDEO_SAVE, true);
}

void CVideoCaptureDialog::OnSave() {
  const std::string title = Text(IDC_VIDEO_TITLE);
  if (title.empty()) {
    AskToFill("Please Fill in Title.", IDC_VIDEO_TITLE);
    return;
  }
  // Save stays enabled right after Record: a capture still running is ended
  // first, so the note never names a file that is still being written.
  RefreshStatus();
  if (m_status.fCapturingNow) Stop();
  bool recorded = false;
  if (!m_fileName.empty() && !m_path.empty()) {
    try {
      CFile file;
      file.Open(m_path.c_str(), CFile::kRead | CFile::kShareRead);
      recorded = file.GetLength() >= 2;
    } catch (const CFileException&) {
      recorded = false;
    }
  }
  if (!recorded) {
    ShowBox("Please record some Video Note first.", "Video Note", kMbOk | kMbIconWarning);
    return;
  }
  NoteValues values;
  values.title = title;
  values.attachment = m_fileName;
  values.noteType = CComboBox(Dialog(), IDC_VIDEO_TYPE).GetCurSel() == 1 ? 1 : 0;
  // A failed add was reported by the manager; the note stays to be saved
  // again.
  if (!VideoNoteManager::AppendRecord(MainWindow(), values)) return;
  Release();
  End(1);
}

bool CVideoCaptureDialog::CanCancel() {
  Release();
  if (!m_path.empty()) DeleteFileA(m_path.c_str());
  return true;
}

void CVideoCaptureDialog::Release() {
  m_capture.Send(WM_CAP_STOP);
  m_capture.Send(WM_CAP_SET_CALLBACK_ERRORA, 0, 0);
  m_capture.Send(WM_CAP_SET_CALLBACK_STATUSA, 0, 0);
  m_capture.Send(WM_CAP_SET_CALLBACK_YIELD, 0, 0);
  m_capture.Send(WM_CAP_DRIVER_DISCONNECT);
}

}  // namespace

int OpenVideoCaptureDialog(HWND mainWindow) {
  CVideoCaptureDialog dialog;
  return dialog.Run(mainWindow, false);
}

std::string VideoCapturePath() {
  return gOpenDialog ? gOpenDialog->CapturePath() : std::string();
}
