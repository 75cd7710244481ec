// The mixer steps of opening a recording: the wave-in destination line of the
// opened device is looked up and its mute control set, and a device without
// mixer, line or inputs is reported to the user but still records.
#ifndef QUILLMATE_MEDIA_RECORDINGMIXER_H
#define QUILLMATE_MEDIA_RECORDINGMIXER_H

#include <windows.h>
#include <mmsystem.h>

// Opens the mixer of the wave input handle and prepares its wave-in line.
// Returns the open mixer (the caller closes it before recording), or null
// when the device has none. Reports go to `owner`'s message boxes.
HMIXER PrepareRecordingMixer(HWND owner, HWAVEIN waveIn);

// Sets the line's mute control to `value` on min(line channels, 2) channels
// (one when the control is uniform). A failure is a diagnostic line; a line
// without mute control is reported only when `reportMissing` is set.
void SetLineMute(HMIXER mixer, const MIXERLINEA& line, BOOL value, bool reportMissing);

#endif  // QUILLMATE_MEDIA_RECORDINGMIXER_H
