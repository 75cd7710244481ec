// The properties dialog of a recorded note: the player's window, the timer
// that moves the slider, and the save of title and type; the opening and
// ending are CEditorDialog's, what differs per kind is the description.
#include "Editors/MediaNoteProperties.h"

#include <commctrl.h>

#include <string>

#include "Editors/PlayingTime.h"
#include "Library/CTrackbar.h"
#include "Managers/UrgencyList.h"
#include "Media/CMediaPlayer.h"
#include "Records/AttachmentName.h"
#include "Records/MessageBoxSeam.h"

namespace {

constexpr UINT kPositionPeriodMs = 100;

class CMediaNotePropertiesDialog : public CEditorDialog {
 public:
  explicit CMediaNotePropertiesDialog(const MediaNoteProperties& description)
      : CEditorDialog(description.editor), m_kind(description) {}

 private:
  void OnInit() override {
    if (!SetTimer(Dialog(), m_kind.timerId, kPositionPeriodMs, nullptr)) {
      ShowBox("Could not SetTimer()!", "Error", kMbOk | kMbIconWarning);
    }
    GetRecordAt();
    SetText(m_kind.titleId, m_values.title);
    FillUrgencyList(Dialog(), m_kind.typeId, m_values.noteType);

    // A stored name that is not a bare file name, or a file that is gone,
    // plays nothing (the MCI window would show a box of its own for it).
    std::string path;
    CMediaPlayer& player = m_kind.player();
    player.SetParent(Dialog());
    if (AttachmentPath(*m_kind.folder, m_values.attachment.c_str(), path) &&
        GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
      OpenPlayer(path);
    }
  }

  // A recording the player cannot take (a format of 0 channels, a chunk past
  // the end) is not handed to it: the platform's player would end the
  // program. The box says so and the dialog works without sound.
  void OpenPlayer(const std::string& path) {
    if (const char* problem = RiffMediaFileProblem(path, m_kind.media)) {
      const std::string text = "The recording cannot be played: \"" + path + "\" is damaged (" + problem + ").";
      ShowBox(text.c_str(), "Quillmate", kMbOk | kMbIconWarning);
      return;
    }
    const MediaPlayerPlace& place = m_kind.playerPlace;
    m_kind.player().Open(path, place.x, place.y, place.width, place.height);
  }

  void GetRecordAt() {
    if (!m_kind.getRecordAt(RecordAddress(), m_values)) m_values = NoteValues{};
  }

  // Every tick: the slider's range is the length; while playing the thumb
  // follows the position; at the end the player rewinds.
  void OnTick() {
    CMediaPlayer& player = m_kind.player();
    CTrackbar slider(Dialog(), m_kind.positionId);
    const long position = static_cast<long>(player.Position());
    const long length = player.Length();
    slider.SetRangeMax(static_cast<int>(length), true);
    if (player.IsPlaying()) slider.SetPos(static_cast<int>(position));
    if (player.ReachedEnd()) {
      player.Rewind();
      slider.SetPos(0);
    }
    ShowTime();
  }

  void ShowTime() {
    CMediaPlayer& player = m_kind.player();
    const std::string text = MinutesAndSeconds(static_cast<long long>(player.Position())) + " / " +
                             MinutesAndSeconds(player.Length());
    // Every tick: set only a change, or the text flickers.
    if (Text(m_kind.timeId) != text) SetText(m_kind.timeId, text);
  }

  // Any move of the slider stops playback; letting go of it plays from
  // there.
  void OnSlider(int code) {
    CMediaPlayer& player = m_kind.player();
    player.Rewind();
    if (code == TB_ENDTRACK) player.SeekAndPlay(CTrackbar(Dialog(), m_kind.positionId).GetPos());
  }

  bool OnCommand(int id, int) override {
    if (id == m_kind.playPauseId) {
      m_kind.player().PlayPause();
      return true;
    }
    if (id == m_kind.stopId) {
      // The slider shows where the player really is, not where it last was
      // while playing.
      CMediaPlayer& player = m_kind.player();
      player.Rewind();
      CTrackbar(Dialog(), m_kind.positionId).SetPos(static_cast<int>(player.Position()));
      ShowTime();
      return true;
    }
    return false;
  }

  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR&) override {
    switch (message) {
      case WM_TIMER:
        if (wParam != m_kind.timerId) return false;
        OnTick();
        return true;
      case WM_HSCROLL:
        if (reinterpret_cast<HWND>(lParam) != GetDlgItem(Dialog(), m_kind.positionId)) return false;
        OnSlider(LOWORD(wParam));
        return true;
      case WM_DESTROY:
        KillTimer(Dialog(), m_kind.timerId);
        m_kind.player().Close();
        return false;
      default:
        return false;
    }
  }

  void OnSave() override {
    NoteValues values = m_values;
    values.title = Text(m_kind.titleId);
    if (values.title.empty()) {
      ShowBox("Please Fill in All Fields.", "Quillmate", kMbOk | kMbIconInformation);
      return;
    }
    values.noteType = SelectedUrgency(Dialog(), m_kind.typeId);
    // Only title and type change; the recording stays the note's. A note deleted
    // while the dialog was open comes back with its recording (CEditorDialog).
    const int stored = ChangesOpenedRecord()
                           ? m_kind.changeRecordAt(MainWindow(), RecordAddress(), values)
                           : m_kind.appendRecord(MainWindow(), values);
    if (!stored) return;
    m_kind.player().Close();
    End(1);
  }

  bool CanCancel() override {
    m_kind.player().Close();
    return true;
  }

  const MediaNoteProperties& m_kind;
  NoteValues m_values;
};

}  // namespace

int OpenMediaNoteProperties(HWND mainWindow, const MediaNoteProperties& description) {
  CMediaNotePropertiesDialog properties(description);
  return properties.Run(mainWindow, true);
}
