// The properties dialog of a recorded note (audio 12000, video 11000): plays
// the focused note in its kind's program-wide player with a position slider
// and changes its title and type; the recording itself never changes. One
// dialog for both kinds: what differs (template and ids, timer, player,
// folder, where the MCI window sits, the manager) is a description row.
#ifndef QUILLMATE_EDITORS_MEDIANOTEPROPERTIES_H
#define QUILLMATE_EDITORS_MEDIANOTEPROPERTIES_H

#include <windows.h>

#include <cstdint>
#include <string>

#include "Managers/CEditorDialog.h"
#include "Managers/RecordValues.h"
#include "Records/RiffMediaCheck.h"

class CMediaPlayer;

// Where the player's MCI window sits in the dialog, in pixels.
struct MediaPlayerPlace {
  int x;
  int y;
  int width;
  int height;
};

struct MediaNoteProperties {
  EditorTemplate editor;  // the title edit is its one text field
  int titleId;
  int typeId;
  int positionId;  // the trackbar
  int playPauseId;
  int stopId;
  int timeId;  // the position and length, "m:ss / m:ss"
  UINT_PTR timerId;
  CMediaPlayer& (*player)();
  const std::string* folder;  // the kind's attachment folder
  MediaPlayerPlace playerPlace;
  int (*getRecordAt)(std::uint32_t address, NoteValues& values);
  int (*changeRecordAt)(HWND mainWindow, std::uint32_t address, const NoteValues& values);
  int (*appendRecord)(HWND mainWindow, const NoteValues& values);
  RiffMedia media;  // how the recording is checked before it is played
};

// Runs the dialog for the focused row of the kind. Returns 1 after Save, 2
// after Cancel or the close box, 0 when nothing opened (no focused row, or
// the dialog could not be created, which is reported).
int OpenMediaNoteProperties(HWND mainWindow, const MediaNoteProperties& description);

#endif  // QUILLMATE_EDITORS_MEDIANOTEPROPERTIES_H
