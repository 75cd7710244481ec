// The mixer step of opening a recording: the wave-in destination line of the
// opened device is looked up, and a device without mixer, line or inputs is
// reported to the user but still records. The step only looks: it never
// changes a control. (Setting the line's mute, as it once did, could silence
// the input for the whole system on newer Windows, and a line that was not
// found must not be acted on at all: line id 0 is some other line.)
#ifndef QUILLMATE_MEDIA_RECORDINGMIXER_H
#define QUILLMATE_MEDIA_RECORDINGMIXER_H

#include <windows.h>
#include <mmsystem.h>

// The platform's mixer calls of the recorder; tests replace them. The last
// two are those a change of a control would take: the step makes neither,
// and its tests hold it to that.
struct RecordingMixerCalls {
  MMRESULT(WINAPI* open)(HMIXER*, UINT, DWORD_PTR, DWORD_PTR, DWORD);
  MMRESULT(WINAPI* getLineInfo)(HMIXEROBJ, MIXERLINEA*, DWORD);
  MMRESULT(WINAPI* close)(HMIXER);
  MMRESULT(WINAPI* getLineControls)(HMIXEROBJ, MIXERLINECONTROLSA*, DWORD);
  MMRESULT(WINAPI* setControlDetails)(HMIXEROBJ, MIXERCONTROLDETAILS*, DWORD);
};
extern RecordingMixerCalls gRecordingMixerCalls;

// Opens the mixer of the wave input handle and looks up its wave-in line.
// Returns the open mixer (the caller closes it before recording), or null
// when the device has none. Reports go to `owner`'s message boxes.
HMIXER PrepareRecordingMixer(HWND owner, HWAVEIN waveIn);

#endif  // QUILLMATE_MEDIA_RECORDINGMIXER_H
