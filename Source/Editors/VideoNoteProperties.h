// The video note properties dialog, dialog 11000: plays the focused video
// note in an MCI window inside the dialog with a position slider and
// changes its title and type. Opened by command 221 ("Edit Properies"), by
// "Edit/Play Selected Item" and by a double click while video notes are the
// current kind.
#ifndef QUILLMATE_EDITORS_VIDEONOTEPROPERTIES_H
#define QUILLMATE_EDITORS_VIDEONOTEPROPERTIES_H

#include <windows.h>

// Runs the dialog modally for the focused row. Returns 1 after Save, 2 after
// Cancel or the close box, 0 when nothing opened (no focused row).
int OpenVideoNoteProperties(HWND mainWindow);

#endif  // QUILLMATE_EDITORS_VIDEONOTEPROPERTIES_H
