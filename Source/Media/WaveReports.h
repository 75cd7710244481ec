// The recorder's two channels of report: warnings the user sees (message
// boxes captioned "Quillmate" with the warning icon, owned by the window that
// drives the recording) and diagnostic lines on standard output, which the
// user does not see.
#ifndef QUILLMATE_MEDIA_WAVEREPORTS_H
#define QUILLMATE_MEDIA_WAVEREPORTS_H

#include <windows.h>

void ShowWaveWarning(HWND owner, const char* text);

// printf-style; flushed at once, so a line is not lost if the program ends.
void WaveDiagnostic(const char* format, ...) __attribute__((format(printf, 1, 2)));

#endif  // QUILLMATE_MEDIA_WAVEREPORTS_H
