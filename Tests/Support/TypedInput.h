// Keys, clicks and wheel turns made as the user makes them: SendInput puts
// them in the queue of the foreground window's thread, so they reach the
// focused control through whatever loop runs (a dialog's own, with its
// message filter), not straight through a window procedure.
#ifndef QUILLMATE_TESTS_SUPPORT_TYPEDINPUT_H
#define QUILLMATE_TESTS_SUPPORT_TYPEDINPUT_H

#include <windows.h>

namespace qmtest {

// A key pressed and released, with modifier (VK_CONTROL, VK_SHIFT) held
// around it, or none when 0.
void TypeKey(WORD key, WORD modifier = 0);
// The wheel turned by delta (WHEEL_DELTA per notch, positive away from the
// user) with the cursor at point (screen coordinates) and modifier held.
void TurnWheel(POINT point, int delta, WORD modifier = 0);
// The left button clicked at point (screen coordinates).
void ClickAt(POINT point);

// What is queued for this thread handled as a modal dialog's loop handles
// it: through the dialog manager (and so the thread's message filters)
// first. For a test acting from inside the dialog's loop, between keys.
void PumpAsDialog(HWND dialog);

}  // namespace qmtest

#endif  // QUILLMATE_TESTS_SUPPORT_TYPEDINPUT_H
