// The internet resource editor, dialog 10000: a bookmark's title, address
// and category. Opened by the commands 260 (new) and 261 (edit), and by the
// generic edit command and a double click while internet resources are the
// current kind.
#ifndef QUILLMATE_EDITORS_INTERNETRESOURCEEDITOR_H
#define QUILLMATE_EDITORS_INTERNETRESOURCEEDITOR_H

#include <windows.h>

// Runs the editor modally with mainWindow as parent: edit false for a new
// bookmark, true for the record of the focused row. Returns 1 after Save, 2
// after Cancel or the close box, 0 when nothing opened.
int OpenInternetResourceEditor(HWND mainWindow, bool edit);

#endif  // QUILLMATE_EDITORS_INTERNETRESOURCEEDITOR_H
