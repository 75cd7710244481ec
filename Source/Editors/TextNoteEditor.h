// The text note editor, dialog 3000: a title, a type ("Normal" or "Urgent")
// and a formatted body kept as an RTF attachment in the text-note folder,
// with a formatting toolbar and printing. Opened by the commands 201 (new)
// and 202 (edit), and by the generic edit command and a double click while
// text notes are the current kind.
#ifndef QUILLMATE_EDITORS_TEXTNOTEEDITOR_H
#define QUILLMATE_EDITORS_TEXTNOTEEDITOR_H

#include <windows.h>
#include <commdlg.h>

// Runs the editor modally with mainWindow as parent: edit false for a new
// note, true for the record of the focused row. pageSetup is the record
// whose printer and margins Print Note uses (and may update with the printer
// chosen). Returns 1 after Save, 2 after Cancel or the close box, 0 when
// nothing opened.
int OpenTextNoteEditor(HWND mainWindow, bool edit, PAGESETUPDLGA& pageSetup);

// The colour dialog; tests answer in its place.
using ChooseColorFunction = BOOL(WINAPI*)(CHOOSECOLORA* request);
extern ChooseColorFunction gChooseColorDialog;

// The colour dialog's custom colours, kept for the run of the program (not
// saved): navy first, then black.
extern COLORREF gCustomColours[16];

#endif  // QUILLMATE_EDITORS_TEXTNOTEEDITOR_H
