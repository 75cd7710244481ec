// ReminderSound: the alias first, the beep when the alias plays nothing.
#include "Shell/ReminderSound.h"

#include <mmsystem.h>

namespace {

bool PlatformPlayAlias(const char* alias, DWORD flags) {
  return PlaySoundA(alias, nullptr, flags) != FALSE;
}

void PlatformBeep(UINT type) {
  MessageBeep(type);
}

}  // namespace

ReminderSoundSeam gReminderSound = {PlatformPlayAlias, PlatformBeep};

void PlayReminderSound() {
  // SND_NODEFAULT: a missing event must not play the default sound, so
  // that the beep below is the fallback and the user hears one sound.
  if (gReminderSound.playAlias(kReminderSoundAlias, SND_ALIAS | SND_NODEFAULT | SND_ASYNC)) return;
  gReminderSound.beep(MB_ICONASTERISK);
}
