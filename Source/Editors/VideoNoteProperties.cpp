// The video note properties: the properties dialog of a recorded note
// (MediaNoteProperties) with the video note's template, player and folder.
#include "Editors/VideoNoteProperties.h"

#include <iterator>

#include "Editors/MediaNoteProperties.h"
#include "Managers/RecordManager.h"
#include "Media/CMediaPlayer.h"
#include "Records/DataFolders.h"
#include "Resources/VideoNoteIds.h"

namespace {

const int kTextFields[] = {IDC_VIDEO_NOTE_TITLE};

// The MCI window, 367 x 235 at (10, 10), shows the picture above the
// controls.
const MediaNoteProperties kVideoNoteProperties = {
    {IDD_VIDEO_PROPERTIES, RecordKind::VideoNote, IDC_VIDEO_NOTE_SAVE, IDC_VIDEO_NOTE_CANCEL, kTextFields,
     std::size(kTextFields), true},
    IDC_VIDEO_NOTE_TITLE,
    IDC_VIDEO_NOTE_TYPE,
    IDC_VIDEO_POSITION,
    IDC_VIDEO_PLAY_PAUSE,
    IDC_VIDEO_PLAY_STOP,
    IDC_VIDEO_TIME,
    2,
    VideoNotePlayer,
    &gVideoNoteFolder,
    {10, 10, 367, 235},
    VideoNoteManager::GetRecordAt,
    VideoNoteManager::ChangeRecordAt,
    VideoNoteManager::AppendRecord,
    RiffMedia::Avi,
};

}  // namespace

int OpenVideoNoteProperties(HWND mainWindow) {
  return OpenMediaNoteProperties(mainWindow, kVideoNoteProperties);
}
