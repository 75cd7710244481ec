// SingleInstance: only one Quillmate runs at a time. A second start looks for
// the first one's main window and brings it forward instead of starting.
#pragma once

#include <windows.h>

#include "Shell/SingleInstanceName.h"

// The main window of a running instance, or null. It is either a top-level
// window of the class or, while hidden in the tray, the child of a top-level
// holder window (which a search by class among top-level windows misses);
// heldInTray tells which.
HWND FindRunningMainWindow(const char* className, bool* heldInTray);

// Brings the running instance forward: a top-level main window (or its last
// active pop-up, such as an open editor) to the foreground, restored when
// minimised; a window held in the tray is asked to restore itself with the
// tray menu's command.
void ActivateRunningInstance(HWND mainWindow, bool heldInTray);

// Takes the named mutex, first thing at start-up, so that of two starts close
// together only one goes on to create the stores and the main window. True
// when this process holds it (also when it took it before); false when
// another process does. The mutex is kept until the process ends.
bool ClaimSingleInstance();

// True when this process holds the mutex: no other instance can be running,
// and the search for one's window is not needed.
bool HoldsSingleInstance();

// For a start that lost the mutex: waits, bounded, for the running
// instance's main window (the winner may still be starting) and brings it
// forward. False when none appeared in time.
bool BringRunningInstanceForward(const char* className);
