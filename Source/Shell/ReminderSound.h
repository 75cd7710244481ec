// ReminderSound: the one sound of a batch of due reminders. Newer Windows
// has a "Notification.Reminder" sound event; where it is missing (or mapped
// to no sound), the information beep plays instead. The two platform calls
// go through a seam, so tests see which one was asked.
#pragma once

#include <windows.h>

struct ReminderSoundSeam {
  // PlaySoundA(alias, nullptr, flags); true when the sound started.
  bool (*playAlias)(const char* alias, DWORD flags);
  // MessageBeep(type).
  void (*beep)(UINT type);
};

// The platform's calls; tests replace them and put them back.
extern ReminderSoundSeam gReminderSound;

constexpr const char* kReminderSoundAlias = "Notification.Reminder";

// Plays the alias with SND_ALIAS | SND_NODEFAULT | SND_ASYNC, else beeps
// MB_ICONASTERISK. Never waits for the sound.
void PlayReminderSound();
