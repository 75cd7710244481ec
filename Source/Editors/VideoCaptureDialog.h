// The video note capture dialog, 4000 with menu 103: connects a capture
// driver, previews, offers the driver's dialogs and the audio format,
// captures video with sound into a new AVI attachment in the video notes
// folder and adds the record. Opened by the command 220 (File > New > "Video
// Note...", the manager's "Add New Video Note", the tray's "Video note...").
// The capture machinery is reached through CCaptureWindow only, so the
// dialog does not know whether a platform driver or the screen capture
// answers.
#ifndef QUILLMATE_EDITORS_VIDEOCAPTUREDIALOG_H
#define QUILLMATE_EDITORS_VIDEOCAPTUREDIALOG_H

#include <windows.h>

#include <string>

// Runs the dialog modally with mainWindow as owner. Returns 1 after Save, 2
// after Close, 0 when nothing opened (another editor is open, or the dialog
// could not be created, which is reported).
int OpenVideoCaptureDialog(HWND mainWindow);

// The full path of the file that the open capture dialog records into
// (empty when none is open or no driver was connected); for tests.
std::string VideoCapturePath();

#endif  // QUILLMATE_EDITORS_VIDEOCAPTUREDIALOG_H
