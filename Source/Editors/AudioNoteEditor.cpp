// The audio note editor's controls, its recorder states and how a take is
// saved; the opening and ending are CEditorDialog's, the recording the wave
// recorder's.
#include "Editors/AudioNoteEditor.h"

#include <commctrl.h>
#include <mmsystem.h>

#include <cstdint>
#include <cstring>
#include <iterator>
#include <string>

#include "Editors/PlayingTime.h"
#include "Library/CComboBox.h"
#include "Library/CFile.h"
#include "Library/CStatusbar.h"
#include "Managers/CEditorDialog.h"
#include "Managers/RecordManager.h"
#include "Managers/ShellRequests.h"
#include "Managers/UrgencyList.h"
#include "Media/CWaveRecorder.h"
#include "Records/AttachmentName.h"
#include "Records/DataFolders.h"
#include "Records/MessageBoxSeam.h"
#include "Resources/AudioNoteIds.h"

namespace {

const int kTextFields[] = {IDC_AUDIO_TITLE};

const EditorTemplate kTemplate = {IDD_AUDIO_NOTE_EDITOR, RecordKind::AudioNote, IDC_AUDIO_SAVE,
                                  IDC_AUDIO_CLOSE,       kTextFields,           std::size(kTextFields),
                                  false};

// Right edges of the status bar's parts; the last runs to the window's edge.
const int kStatusParts[] = {20, 250, -1};
constexpr int kStatePart = 1;
// While recording: the take's length so far.
constexpr int kElapsedPart = 2;
// How often a running take is looked at: its length, and whether the
// recorder stopped taking sound by itself.
constexpr UINT_PTR kTakeTimer = 1;
constexpr UINT kTakeTimerMs = 250;

const char kNothingRecorded[] = "Please record some Audio Note first.";
const char kSizeLimitReached[] =
    "The recording reached the largest size a sound file can have and was stopped. What was recorded so far was "
    "kept.";
const char kWriteFailed[] =
    "The sound could not be written (the disk may be full), so the recording was stopped. What was recorded so "
    "far was kept.";
const char kNotCompleted[] =
    "The recording could not be completed: its file is not a whole sound file and cannot be saved. Please record "
    "it again.";

// The recorder's states as the buttons show them.
struct RecorderState {
  const char* status;
  bool startEnabled;
  bool stopEnabled;
};
const RecorderState kReady = {"Ready", true, false};
const RecorderState kRecording = {"Recording...", false, true};
const RecorderState kStopped = {"Stopped", true, false};

class CAudioNoteEditor : public CEditorDialog {
 public:
  CAudioNoteEditor() : CEditorDialog(kTemplate) {}

 private:
  void OnInit() override {
    m_status.Create(Dialog(), IDC_AUDIO_STATUS_BAR, 0, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0);
    m_status.SetParts(static_cast<int>(std::size(kStatusParts)), kStatusParts);
    RECT bounds;
    GetWindowRect(Dialog(), &bounds);
    m_minimumSize = {bounds.right - bounds.left, bounds.bottom - bounds.top};

    MakeAttachmentName(gAudioNoteFolder, "AudioNote", "wav", m_path);
    m_fileName = BareFileName(m_path);
    FillUrgencyList(Dialog(), IDC_AUDIO_TYPE, 0);
    FillDevices();
    IgnoreForUnsavedWork(IDC_AUDIO_DEVICE);
    Show(kReady);
    EnableWindow(GetDlgItem(Dialog(), IDC_AUDIO_SAVE), FALSE);
  }

  // "Default" (the wave mapper), then each device whose capabilities can be
  // read. The device number is kept with its entry: a device left out must
  // not shift the ones after it onto the wrong device.
  void FillDevices() {
    CComboBox devices(Dialog(), IDC_AUDIO_DEVICE);
    devices.AddString("Default");
    SendMessageA(devices.GetWindow(), CB_SETITEMDATA, 0, 0);
    const unsigned count = CWaveRecorder::DeviceCount();
    for (unsigned device = 0; device < count; ++device) {
      WAVEINCAPSA caps{};
      if (waveInGetDevCapsA(device, &caps, sizeof caps) != MMSYSERR_NOERROR) continue;
      int item = devices.AddString(caps.szPname);
      SendMessageA(devices.GetWindow(), CB_SETITEMDATA, item, static_cast<LPARAM>(device + 1));
    }
    devices.SetCurSel(0);
  }

  // The recorder's list position of the chosen entry: 0 the mapper, n device
  // n - 1.
  int ChosenPosition() const {
    CComboBox devices(Dialog(), IDC_AUDIO_DEVICE);
    int item = devices.GetCurSel();
    if (item < 0) return 0;
    return static_cast<int>(SendMessageA(devices.GetWindow(), CB_GETITEMDATA, item, 0));
  }

  void Show(const RecorderState& state) {
    m_status.SetPartText(kStatePart, state.status);
    EnableWindow(GetDlgItem(Dialog(), IDC_AUDIO_START_RECORD), state.startEnabled);
    EnableWindow(GetDlgItem(Dialog(), IDC_AUDIO_STOP), state.stopEnabled);
    // A disabled button cannot keep the focus: give it to the other one.
    HWND focus = GetFocus();
    if (focus && !IsWindowEnabled(focus)) {
      SendMessageA(Dialog(), WM_NEXTDLGCTL,
                   reinterpret_cast<WPARAM>(GetDlgItem(Dialog(), state.startEnabled ? IDC_AUDIO_START_RECORD
                                                                                     : IDC_AUDIO_STOP)),
                   TRUE);
    }
  }

  // The new take goes into a file of its own; the earlier take, unsaved, is
  // deleted only once the new one runs, so a device that refuses to start
  // does not cost it.
  void StartRecording() {
    std::string path;
    MakeAttachmentName(gAudioNoteFolder, "AudioNote", "wav", path);
    CWaveRecorder& recorder = WaveRecorder();
    // The recorder reports its own failures; the editor then stays as it was.
    if (recorder.Open(Dialog(), ChosenPosition()) != 1) return;
    if (recorder.Start(Dialog(), path) != 1) return;
    if (path != m_path) DeleteFileA(m_path.c_str());
    m_path = path;
    m_fileName = BareFileName(m_path);
    Show(kRecording);
    m_status.SetPartText(kElapsedPart, MinutesAndSeconds(0).c_str());
    SetTimer(Dialog(), kTakeTimer, kTakeTimerMs, nullptr);
  }

  // Ends the take, completing its file; `why` is told when the take ended by
  // itself.
  void StopRecording(const char* why = nullptr) {
    KillTimer(Dialog(), kTakeTimer);
    const bool completed = WaveRecorder().Stop(Dialog());
    ShowElapsed();
    Show(kStopped);
    EnableWindow(GetDlgItem(Dialog(), IDC_AUDIO_SAVE), TRUE);
    if (why) ShowBox(why, "Audio Note", kMbOk | kMbIconWarning);
    if (!completed) ShowBox(kNotCompleted, "Audio Note", kMbOk | kMbIconWarning);
  }

  void ShowElapsed() {
    const long long bytes = WaveRecorder().DataBytes();
    m_status.SetPartText(kElapsedPart, MinutesAndSeconds(bytes * 1000 / RecordingFormat().nAvgBytesPerSec).c_str());
  }

  // A take that stopped taking sound (its size limit, a failed write) is
  // ended here, so the editor never shows "Recording..." for a take that is
  // no longer written.
  void OnTakeTimer() {
    CWaveRecorder& recorder = WaveRecorder();
    if (!recorder.IsRecording()) {
      KillTimer(Dialog(), kTakeTimer);
      return;
    }
    ShowElapsed();
    switch (recorder.EndedByItself()) {
      case CWaveRecorder::TakeEnd::kSizeLimit:
        StopRecording(kSizeLimitReached);
        break;
      case CWaveRecorder::TakeEnd::kWriteFailed:
        StopRecording(kWriteFailed);
        break;
      case CWaveRecorder::TakeEnd::kNone:
        break;
    }
  }

  bool OnCommand(int id, int) override {
    switch (id) {
      case IDC_AUDIO_START_RECORD:
        StartRecording();
        return true;
      case IDC_AUDIO_STOP:
        StopRecording();
        return true;
      case IDC_AUDIO_SETTINGS:
        StartVolumeControl(Dialog());
        return true;
      default:
        return false;
    }
  }

  // The recorded file's length, or -1 after its failure was shown.
  long long RecordedLength() const {
    try {
      CFile file;
      file.Open(m_path.c_str(), CFile::kRead | CFile::kShareRead);
      unsigned long high = 0;
      unsigned long low = file.GetLength(&high);
      return (static_cast<long long>(high) << 32) | low;
    } catch (const CFileException& failure) {
      ShowBox(failure.GetErrorText().GetString(), "Quillmate", kMbOk | kMbIconError);
      return -1;
    }
  }

  // The file's RIFF and "data" sizes were written and match its length: a
  // take whose completion failed has zeros there, and no player reads it.
  bool HasItsSizes(long long length) const {
    std::uint32_t sizes[2] = {};
    try {
      CFile file;
      file.Open(m_path.c_str(), CFile::kRead | CFile::kShareRead);
      unsigned char header[kWaveHeaderBytes];
      if (length < static_cast<long long>(kWaveHeaderBytes) || file.Read(header, sizeof header) != sizeof header) {
        return false;
      }
      std::memcpy(&sizes[0], header + 4, 4);
      std::memcpy(&sizes[1], header + kWaveHeaderBytes - 4, 4);
    } catch (const CFileException&) {
      return false;
    }
    return sizes[0] + 8LL == length && sizes[1] + static_cast<long long>(kWaveHeaderBytes) == length;
  }

  void OnSave() override {
    // A take still running is ended first, so the file saved is complete.
    if (WaveRecorder().IsRecording()) StopRecording();
    if (m_path.empty() || m_fileName.empty()) {
      ShowBox(kNothingRecorded, "Audio Note", kMbOk | kMbIconWarning);
      return;
    }
    const long long length = RecordedLength();
    if (length < 0) return;
    if (length < 2) {
      ShowBox(kNothingRecorded, "Audio Note", kMbOk | kMbIconWarning);
      return;
    }
    if (!HasItsSizes(length)) {
      ShowBox(kNotCompleted, "Audio Note", kMbOk | kMbIconWarning);
      return;
    }
    NoteValues values;
    values.title = Text(IDC_AUDIO_TITLE);
    if (values.title.empty()) {
      AskToFill("Please insert Audio Note Title.", IDC_AUDIO_TITLE, "Audio Note", kMbOk | kMbIconWarning);
      return;
    }
    values.attachment = m_fileName;
    values.noteType = SelectedUrgency(Dialog(), IDC_AUDIO_TYPE);
    // A failure was reported; the dialog stays open and the take is kept.
    if (AudioNoteManager::AppendRecord(MainWindow(), values)) {
      m_saved = true;
      End(1);
    }
  }

  bool IsTaking() override { return WaveRecorder().IsRecording(); }
  void EndTake() override { StopRecording(); }
  bool HasUnsavedWork() override { return FileHoldsData(m_path) || ControlsChanged(); }

  // Leaving unsaved: the take is not wanted.
  bool CanCancel() override {
    KillTimer(Dialog(), kTakeTimer);
    WaveRecorder().Stop(Dialog());
    if (!m_saved) DeleteFileA(m_path.c_str());
    return true;
  }

  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR&) override {
    if (message == WM_SIZE) {
      SendMessageA(m_status.GetWindow(), WM_SIZE, wParam, lParam);
      return false;
    }
    if (message == WM_TIMER && wParam == kTakeTimer) {
      OnTakeTimer();
      return true;
    }
    if (message == WM_GETMINMAXINFO && m_minimumSize.x > 0) {
      // Smaller than its template, the dialog would cut its own controls.
      reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = m_minimumSize;
      return true;
    }
    return false;
  }

  CStatusbar m_status;
  POINT m_minimumSize{0, 0};
  std::string m_path;
  std::string m_fileName;
  bool m_saved = false;
};

}  // namespace

int OpenAudioNoteEditor(HWND mainWindow) {
  CAudioNoteEditor editor;
  return editor.Run(mainWindow, false);
}

bool StartVolumeControl(HWND owner) {
  for (const char* program : {"sndvol32.exe", "sndvol.exe"}) {
    // ShellExecute reports success with a value above 32.
    if (reinterpret_cast<INT_PTR>(gShellExecute(owner, "open", program, "", nullptr, SW_SHOWNORMAL)) > 32) {
      return true;
    }
  }
  ShowMessageBox(owner, "The volume control could not be started.", "Quillmate", kMbOk | kMbIconWarning);
  return false;
}
