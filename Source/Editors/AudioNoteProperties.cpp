// The audio note properties: the properties dialog of a recorded note
// (MediaNoteProperties) with the audio note's template, player and folder.
#include "Editors/AudioNoteProperties.h"

#include <iterator>

#include "Editors/MediaNoteProperties.h"
#include "Managers/RecordManager.h"
#include "Media/CMediaPlayer.h"
#include "Records/DataFolders.h"
#include "Resources/AudioNoteIds.h"

namespace {

const int kTextFields[] = {IDC_AUDIO_PROPERTIES_TITLE};

// The MCI window is 1 x 1 at (0, 1): the sound needs no picture.
const MediaNoteProperties kAudioNoteProperties = {
    {IDD_AUDIO_NOTE_PROPERTIES, RecordKind::AudioNote, IDC_AUDIO_PROPERTIES_SAVE, IDC_AUDIO_PROPERTIES_CANCEL,
     kTextFields, std::size(kTextFields), true},
    IDC_AUDIO_PROPERTIES_TITLE,
    IDC_AUDIO_PROPERTIES_TYPE,
    IDC_AUDIO_PROPERTIES_POSITION,
    IDC_AUDIO_PROPERTIES_PLAY_PAUSE,
    IDC_AUDIO_PROPERTIES_STOP,
    IDC_AUDIO_PROPERTIES_TIME,
    3,
    AudioNotePlayer,
    &gAudioNoteFolder,
    {0, 1, 1, 1},
    AudioNoteManager::GetRecordAt,
    AudioNoteManager::ChangeRecordAt,
    AudioNoteManager::AppendRecord,
    RiffMedia::RecorderWave,
};

}  // namespace

int OpenAudioNoteProperties(HWND mainWindow) {
  return OpenMediaNoteProperties(mainWindow, kAudioNoteProperties);
}
