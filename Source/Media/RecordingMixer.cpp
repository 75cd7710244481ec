// RecordingMixer: mixerOpen on the wave input handle and the wave-in line.
#include "Media/RecordingMixer.h"

#include "Media/WaveReports.h"

RecordingMixerCalls gRecordingMixerCalls = {mixerOpen, mixerGetLineInfoA, mixerClose, mixerGetLineControlsA,
                                              mixerSetControlDetails};

HMIXER PrepareRecordingMixer(HWND owner, HWAVEIN waveIn) {
  HMIXER mixer = nullptr;
  if (gRecordingMixerCalls.open(&mixer, static_cast<UINT>(reinterpret_cast<UINT_PTR>(waveIn)), 0, 0,
                                MIXER_OBJECTF_HWAVEIN) != MMSYSERR_NOERROR) {
    ShowWaveWarning(owner, "Device does not have mixer support!");
    return nullptr;
  }
  MIXERLINEA line{};
  line.cbStruct = sizeof line;
  line.dwComponentType = MIXERLINE_COMPONENTTYPE_DST_WAVEIN;
  if (gRecordingMixerCalls.getLineInfo(reinterpret_cast<HMIXEROBJ>(mixer), &line,
                                       MIXER_GETLINEINFOF_COMPONENTTYPE) != MMSYSERR_NOERROR) {
    // Nothing more is known of a line that was not found.
    ShowWaveWarning(owner, "Device does not have a WAVE recording control!");
    return mixer;
  }
  if (line.cConnections == 0) ShowWaveWarning(owner, "ERROR: There are no WAVE inputs to adjust!");
  return mixer;
}
