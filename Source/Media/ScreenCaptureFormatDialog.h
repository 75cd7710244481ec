// The screen capture's format dialog (4100): a list of picture sizes smaller
// than the screen, the last one the whole screen.
#ifndef QUILLMATE_MEDIA_SCREENCAPTUREFORMATDIALOG_H
#define QUILLMATE_MEDIA_SCREENCAPTUREFORMATDIALOG_H

#include <windows.h>

// Runs the dialog owned by owner with size selected (when listed); true and
// the chosen size after OK, false after Cancel or when it cannot open.
bool RunScreenCaptureFormatDialog(HWND owner, SIZE& size);

#endif  // QUILLMATE_MEDIA_SCREENCAPTUREFORMATDIALOG_H
