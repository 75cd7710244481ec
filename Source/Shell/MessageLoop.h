// MessageLoop: the program's one message loop, with the keyboard accelerators.
#pragma once

#include <windows.h>

// Runs until the quit message and returns its code; -1 when retrieving a
// message fails. Accelerators are translated against the window that each
// message is addressed to.
int RunMessageLoop(HACCEL accelerators);
