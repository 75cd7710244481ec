// The capture frame ("vidframeClass"): the dialog's black, scrollable window
// in which the capture window sits. The frame centres a picture smaller than
// itself and scrolls a larger one: its scroll bars' ranges are the overhang
// and their positions are handed to the capture window as its scroll
// position (the capture window itself does not move when scrolled).
#ifndef QUILLMATE_EDITORS_CAPTUREFRAME_H
#define QUILLMATE_EDITORS_CAPTUREFRAME_H

#include <windows.h>

class CCaptureWindow;

// Creates the frame as a child of dialog at (x, y), width x height pixels,
// working on capture (which must outlive it). Null on failure.
HWND CreateCaptureFrame(HWND dialog, int x, int y, int width, int height, CCaptureWindow& capture);

// Lays the capture window out in the frame for the picture size of its
// current status (0 x 0 when the status cannot be read).
void LayOutCaptureWindow(HWND frame);

#endif  // QUILLMATE_EDITORS_CAPTUREFRAME_H
