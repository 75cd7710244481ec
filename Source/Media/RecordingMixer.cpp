// RecordingMixer: mixerOpen on the wave input handle, the wave-in line and
// its mute control.
#include "Media/RecordingMixer.h"

#include <algorithm>
#include <cstdio>

#include "Media/WaveReports.h"

void SetLineMute(HMIXER mixer, const MIXERLINEA& line, BOOL value, bool reportMissing) {
  MIXERCONTROLA control{};
  control.cbStruct = sizeof control;
  MIXERLINECONTROLSA controls{};
  controls.cbStruct = sizeof controls;
  controls.dwLineID = line.dwLineID;
  controls.dwControlType = MIXERCONTROL_CONTROLTYPE_MUTE;
  controls.cControls = 1;
  controls.cbmxctrl = sizeof control;
  controls.pamxctrl = &control;
  if (mixerGetLineControlsA(reinterpret_cast<HMIXEROBJ>(mixer), &controls, MIXER_GETLINECONTROLSF_ONEBYTYPE) !=
      MMSYSERR_NOERROR) {
    if (reportMissing) WaveDiagnostic("%s has no mute control!\n", line.szName);
    return;
  }
  MIXERCONTROLDETAILS_BOOLEAN values[2] = {{value}, {value}};
  MIXERCONTROLDETAILS details{};
  details.cbStruct = sizeof details;
  details.dwControlID = control.dwControlID;
  details.cChannels = (control.fdwControl & MIXERCONTROL_CONTROLF_UNIFORM)
                          ? 1
                          : std::min<DWORD>(std::max<DWORD>(line.cChannels, 1), 2);
  details.cbDetails = sizeof values[0];
  details.paDetails = values;
  MMRESULT result =
      mixerSetControlDetails(reinterpret_cast<HMIXEROBJ>(mixer), &details, MIXER_SETCONTROLDETAILSF_VALUE);
  if (result != MMSYSERR_NOERROR) WaveDiagnostic("Error #%d setting mute for %s!\n", result, line.szName);
}

HMIXER PrepareRecordingMixer(HWND owner, HWAVEIN waveIn) {
  HMIXER mixer = nullptr;
  if (mixerOpen(&mixer, static_cast<UINT>(reinterpret_cast<UINT_PTR>(waveIn)), 0, 0, MIXER_OBJECTF_HWAVEIN) !=
      MMSYSERR_NOERROR) {
    ShowWaveWarning(owner, "Device does not have mixer support!");
    return nullptr;
  }
  MIXERLINEA line{};
  line.cbStruct = sizeof line;
  line.dwComponentType = MIXERLINE_COMPONENTTYPE_DST_WAVEIN;
  if (mixerGetLineInfoA(reinterpret_cast<HMIXEROBJ>(mixer), &line, MIXER_GETLINEINFOF_COMPONENTTYPE) !=
      MMSYSERR_NOERROR) {
    ShowWaveWarning(owner, "Device does not have a WAVE recording control!");
  }
  SetLineMute(mixer, line, TRUE, false);
  if (line.cConnections == 0) ShowWaveWarning(owner, "ERROR: There are no WAVE inputs to adjust!");
  return mixer;
}
