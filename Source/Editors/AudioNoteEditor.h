// The audio note editor, dialog 5000: records a new note from a wave input
// device into a WAV file in the audio notes folder and adds the record.
// Opened by command 210 (File > New > "Audio Note...", the tray's "Audio
// note...", the audio notes' "Add New Audio Note").
#ifndef QUILLMATE_EDITORS_AUDIONOTEEDITOR_H
#define QUILLMATE_EDITORS_AUDIONOTEEDITOR_H

#include <windows.h>

// Runs the editor modally with mainWindow as parent. Returns 1 after Save, 2
// after Close or the close box, 0 when nothing opened.
int OpenAudioNoteEditor(HWND mainWindow);

// Starts the system's volume control: "sndvol32.exe", or where that does not
// exist (current Windows) "sndvol.exe"; when neither starts, says so in a box
// owned by `owner`. True when one started.
bool StartVolumeControl(HWND owner);

#endif  // QUILLMATE_EDITORS_AUDIONOTEEDITOR_H
