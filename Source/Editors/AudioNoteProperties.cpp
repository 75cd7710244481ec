// The properties dialog: the player's window, the timer that moves the
// slider, and the save of title and type; the opening and ending are
// CEditorDialog's.
#include "Editors/AudioNoteProperties.h"

#include <commctrl.h>

#include <iterator>
#include <string>

#include "Library/CTrackbar.h"
#include "Managers/CEditorDialog.h"
#include "Managers/RecordManager.h"
#include "Managers/UrgencyList.h"
#include "Media/CMediaPlayer.h"
#include "Records/AttachmentName.h"
#include "Records/DataFolders.h"
#include "Records/MessageBoxSeam.h"
#include "Resources/AudioNoteIds.h"

namespace {

const int kTextFields[] = {IDC_AUDIO_PROPERTIES_TITLE};

const EditorTemplate kTemplate = {IDD_AUDIO_NOTE_PROPERTIES,
                                  RecordKind::AudioNote,
                                  IDC_AUDIO_PROPERTIES_SAVE,
                                  IDC_AUDIO_PROPERTIES_CANCEL,
                                  kTextFields,
                                  std::size(kTextFields),
                                  true};

constexpr UINT_PTR kPositionTimer = 3;
constexpr UINT kPositionPeriodMs = 100;

class CAudioNoteProperties : public CEditorDialog {
 public:
  CAudioNoteProperties() : CEditorDialog(kTemplate) {}

 private:
  void OnInit() override {
    if (!SetTimer(Dialog(), kPositionTimer, kPositionPeriodMs, nullptr)) {
      ShowBox("Could not SetTimer()!", "Error", kMbOk | kMbIconWarning);
    }
    GetRecordAt();
    SetText(IDC_AUDIO_PROPERTIES_TITLE, m_values.title);
    FillUrgencyList(Dialog(), IDC_AUDIO_PROPERTIES_TYPE, m_values.noteType);

    // A 1 x 1 window at (0, 1): the sound needs no picture. A stored name
    // that is not a bare file name, or a file that is gone, plays nothing
    // (the MCI window would show a box of its own for it).
    std::string path;
    CMediaPlayer& player = AudioNotePlayer();
    player.SetParent(Dialog());
    if (AttachmentPath(gAudioNoteFolder, m_values.attachment.c_str(), path) &&
        GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
      player.Open(path, 0, 1, 1, 1);
    }
  }

  void GetRecordAt() {
    if (!AudioNoteManager::GetRecordAt(RecordAddress(), m_values)) m_values = NoteValues{};
  }

  // Every tick: the slider's range is the length; while playing the thumb
  // follows the position; at the end the player rewinds.
  void OnTick() {
    CMediaPlayer& player = AudioNotePlayer();
    CTrackbar slider(Dialog(), IDC_AUDIO_PROPERTIES_POSITION);
    const long position = static_cast<long>(player.Position());
    const long length = player.Length();
    slider.SetRangeMax(static_cast<int>(length), true);
    if (player.IsPlaying()) slider.SetPos(static_cast<int>(position));
    if (position == length) {
      player.Rewind();
      slider.SetPos(0);
    }
  }

  // Any move of the slider stops playback; letting go of it plays from
  // there.
  void OnSlider(int code) {
    CMediaPlayer& player = AudioNotePlayer();
    player.Rewind();
    if (code == TB_ENDTRACK) player.SeekAndPlay(CTrackbar(Dialog(), IDC_AUDIO_PROPERTIES_POSITION).GetPos());
  }

  bool OnCommand(int id, int) override {
    if (id == IDC_AUDIO_PROPERTIES_PLAY_PAUSE) {
      AudioNotePlayer().PlayPause();
      return true;
    }
    if (id == IDC_AUDIO_PROPERTIES_STOP) {
      AudioNotePlayer().Rewind();
      return true;
    }
    return false;
  }

  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR&) override {
    switch (message) {
      case WM_TIMER:
        if (wParam != kPositionTimer) return false;
        OnTick();
        return true;
      case WM_HSCROLL:
        if (reinterpret_cast<HWND>(lParam) != GetDlgItem(Dialog(), IDC_AUDIO_PROPERTIES_POSITION)) return false;
        OnSlider(LOWORD(wParam));
        return true;
      case WM_DESTROY:
        KillTimer(Dialog(), kPositionTimer);
        AudioNotePlayer().Close();
        return false;
      default:
        return false;
    }
  }

  void OnSave() override {
    NoteValues values = m_values;
    values.title = Text(IDC_AUDIO_PROPERTIES_TITLE);
    if (values.title.empty()) {
      ShowBox("Please Fill in All Fields.", "Quillmate", kMbOk | kMbIconInformation);
      return;
    }
    values.noteType = SelectedUrgency(Dialog(), IDC_AUDIO_PROPERTIES_TYPE);
    // Only title and type change; the sound stays the note's. A note deleted
    // while the dialog was open comes back with its sound (CEditorDialog).
    const int stored = ChangesOpenedRecord()
                           ? AudioNoteManager::ChangeRecordAt(MainWindow(), RecordAddress(), values)
                           : AudioNoteManager::AppendRecord(MainWindow(), values);
    if (!stored) return;
    AudioNotePlayer().Close();
    End(1);
  }

  bool CanCancel() override {
    AudioNotePlayer().Close();
    return true;
  }

  NoteValues m_values;
};

}  // namespace

int OpenAudioNoteProperties(HWND mainWindow) {
  CAudioNoteProperties properties;
  return properties.Run(mainWindow, true);
}
