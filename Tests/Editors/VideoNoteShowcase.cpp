// Not a test: the real main window and the video note dialogs, for looking at
// them on screen (scripts/screenshot.sh out.png VideoNoteShowcase.exe
// capture|format|properties). "capture" opens the capture dialog with the
// live preview of the screen capture on; "format" opens the screen capture's
// format dialog over it; "properties" first captures a few seconds of the
// screen into a note, then plays it in the properties dialog; "limit" starts
// a capture whose file may grow to 200 MB only, to see it near and at its
// limit.
// The program ends by itself after 40 seconds.
#include <windows.h>

#include <vfw.h>

#include <cstring>

#include "Editors/VideoCaptureDialog.h"
#include "Editors/VideoNoteProperties.h"
#include "Managers/KindManager.h"
#include "Managers/RecordManager.h"
#include "Media/CAviCaptureFile.h"
#include "Media/CCaptureWindow.h"
#include "Records/AttachmentName.h"
#include "Records/DataFolders.h"
#include "Resources/VideoNoteIds.h"
#include "Support/Showcase.h"

namespace {

constexpr UINT kNoteSeconds = 6;

bool gOpenFormat = false;
bool gRecord = false;

// Once the capture dialog is up, switch its preview on as a user would, and
// open the format dialog when asked.
void CALLBACK ShowPreview(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND dialog = FindWindowA("#32770", "Video Note");
  if (!dialog) return;
  KillTimer(nullptr, timer);
  SendMessageA(GetDlgItem(dialog, IDC_VIDEO_PREVIEW), BM_CLICK, 0, 0);
  if (gOpenFormat) PostMessageA(dialog, WM_COMMAND, IDM_VIDEO_FORMAT, 0);
  if (gRecord) {
    SetWindowTextA(GetDlgItem(dialog, IDC_VIDEO_TITLE), "Whiteboard, long");
    SendMessageA(GetDlgItem(dialog, IDC_VIDEO_RECORD), BM_CLICK, 0, 0);
  }
}

void Pump() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

// A few seconds of the screen (the main window) into a new video note.
void CaptureANote(HWND window) {
  std::string path;
  MakeAttachmentName(gVideoNoteFolder, "VideoNote", "avi", path);
  CCaptureWindow capture;
  if (!capture.Create(window, 1, 0, 0, 1, 1) || !capture.Connect(0)) return;
  capture.Send(WM_CAP_FILE_SET_CAPTURE_FILEA, 0, reinterpret_cast<LPARAM>(path.c_str()));
  CAPTUREPARMS parameters = {};
  capture.Send(WM_CAP_GET_SEQUENCE_SETUP, sizeof parameters, reinterpret_cast<LPARAM>(&parameters));
  parameters.fYield = TRUE;
  parameters.fLimitEnabled = TRUE;
  parameters.wTimeLimit = kNoteSeconds;
  parameters.vKeyAbort = 0;
  parameters.fAbortLeftMouse = FALSE;
  parameters.fAbortRightMouse = FALSE;
  capture.Send(WM_CAP_SET_SEQUENCE_SETUP, sizeof parameters, reinterpret_cast<LPARAM>(&parameters));
  if (!capture.Send(WM_CAP_SEQUENCE)) return;
  CAPSTATUS status = {};
  do {
    Pump();
    Sleep(20);
    capture.Send(WM_CAP_GET_STATUS, sizeof status, reinterpret_cast<LPARAM>(&status));
  } while (status.fCapturingNow);
  NoteValues note;
  note.title = "The desk, this morning";
  note.attachment = BareFileName(path);
  VideoNoteManager::AppendRecord(window, note);
}

}  // namespace

int main(int argc, char** argv) {
  const bool properties = argc > 1 && std::strcmp(argv[1], "properties") == 0;
  gOpenFormat = argc > 1 && std::strcmp(argv[1], "format") == 0;
  gRecord = argc > 1 && std::strcmp(argv[1], "limit") == 0;
  if (gRecord) CAviCaptureFile::SetSizeLimit(200LL * 1024 * 1024);
  qmtest::Showcase showcase("qm-video-note-showcase", 40);
  HWND window = showcase.Window();
  EnsureStore(RecordKind::VideoNote);

  if (properties) {
    CaptureANote(window);
    showcase.FocusRow(0);
    OpenVideoNoteProperties(window);
  } else {
    SetTimer(nullptr, 0, 200, ShowPreview);
    OpenVideoCaptureDialog(window);
  }
  return 0;
}
