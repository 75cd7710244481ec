// The fast text editor, dialog 7000: a title and the snippet, which lives in
// the record's attachment file. Opened by the commands 270 (new) and 271
// (edit), and by the generic edit command and a double click while fast
// texts are the current kind.
#ifndef QUILLMATE_MANAGERS_FASTTEXTEDITOR_H
#define QUILLMATE_MANAGERS_FASTTEXTEDITOR_H

#include <windows.h>

// Runs the editor modally with mainWindow as parent: edit false for a new
// fast text, true for the record of the focused row. Returns 1 after Save,
// 2 after Cancel or the close box, 0 when nothing opened.
int OpenFastTextEditor(HWND mainWindow, bool edit);

#endif  // QUILLMATE_MANAGERS_FASTTEXTEDITOR_H
