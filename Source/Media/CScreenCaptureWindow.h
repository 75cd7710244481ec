// CScreenCaptureWindow: the program's own capture window, for machines
// without a capture driver (and for Wine, whose capture window is a stub).
// It answers the platform's capture messages (WM_CAP_...) as the platform's
// window does, with one driver, "Quillmate Screen Capture": the picture is a
// region of the screen (its top-left corner at the screen's, 640 x 480 unless
// the format dialog or WM_CAP_SET_VIDEOFORMAT chose another size), the
// sound is the wave-in device's in the chosen audio format, and a capture
// (WM_CAP_SEQUENCE) writes both into an AVI file on a thread of its own
// (CScreenCaptureThread).
//
// Callbacks (status, error) are called on the window's own thread only; the
// yield callback on the capture thread, once per frame, as the platform
// does. A capture that cannot be written, or whose file would pass 2 GiB,
// stops, calls the error and status callbacks with the reason, and shows
// "The video could not be written; what was recorded so far was kept."; the
// file stays a valid AVI. A capture thread that does not end within a bound
// after Stop is left to end by itself, and the user is told.
//
// Frames go through an installed compressor that accepts them, unless the
// user chose otherwise in the compressor chooser; uncompressed when none
// does.
#ifndef QUILLMATE_MEDIA_CSCREENCAPTUREWINDOW_H
#define QUILLMATE_MEDIA_CSCREENCAPTUREWINDOW_H

#include <windows.h>

// The driver's description and version as the driver list shows them.
extern const char kScreenCaptureDescription[];
extern const char kScreenCaptureVersion[];

// Creates a visible child capture window (id) of parent, not connected.
HWND CreateScreenCaptureWindow(HWND parent, int id, int x, int y, int width, int height);

// For measurements: distinct pictures grabbed by the window's last (or
// running) capture; frames written may be more (a late picture fills every
// slot that came due).
DWORD ScreenCaptureFramesGrabbed(HWND window);

#endif  // QUILLMATE_MEDIA_CSCREENCAPTUREWINDOW_H
