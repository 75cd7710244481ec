// The e-mail resource editor, dialog 8000: an address-book entry of ten text
// fields, of which the name and the e-mail address are required. Opened by
// the commands 250 (new) and 251 (edit), and by the generic edit command and
// a double click while e-mail resources are the current kind.
#ifndef QUILLMATE_EDITORS_EMAILRESOURCEEDITOR_H
#define QUILLMATE_EDITORS_EMAILRESOURCEEDITOR_H

#include <windows.h>

// Runs the editor modally with mainWindow as parent: edit false for a new
// entry, true for the record of the focused row. Returns 1 after Save, 2
// after Cancel or the close box, 0 when nothing opened.
int OpenEmailResourceEditor(HWND mainWindow, bool edit);

#endif  // QUILLMATE_EDITORS_EMAILRESOURCEEDITOR_H
