// MessageLoop: GetMessage, accelerators, translate and dispatch.
#include "Shell/MessageLoop.h"

#include <cstring>

namespace {

// A modeless dialog (About) only gets Tab, Enter and Esc when the loop hands
// its messages to IsDialogMessage; modal dialogs run loops of their own.
bool IsModelessDialogMessage(MSG* message) {
  HWND active = GetActiveWindow();
  if (!active) return false;
  char className[8] = {};
  if (!GetClassNameA(active, className, sizeof(className)) || std::strcmp(className, "#32770") != 0)
    return false;
  return IsDialogMessageA(active, message) != FALSE;
}

}  // namespace

int RunMessageLoop(HACCEL accelerators) {
  MSG message;
  for (;;) {
    BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got == -1) return -1;
    if (!got) return static_cast<int>(message.wParam);
    if (accelerators && message.hwnd && TranslateAcceleratorA(message.hwnd, accelerators, &message)) continue;
    if (IsModelessDialogMessage(&message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}
