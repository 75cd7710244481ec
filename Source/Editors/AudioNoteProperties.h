// The audio note properties dialog, dialog 12000: plays the focused audio
// note with a position slider and changes its title and type. Opened by
// command 211 ("Edit Properies"), by "Edit/Play Selected Item" and by a
// double click while audio notes are the current kind.
#ifndef QUILLMATE_EDITORS_AUDIONOTEPROPERTIES_H
#define QUILLMATE_EDITORS_AUDIONOTEPROPERTIES_H

#include <windows.h>

// Runs the dialog modally for the focused row. Returns 1 after Save, 2 after
// Cancel or the close box, 0 when nothing opened (no focused row).
int OpenAudioNoteProperties(HWND mainWindow);

#endif  // QUILLMATE_EDITORS_AUDIONOTEPROPERTIES_H
