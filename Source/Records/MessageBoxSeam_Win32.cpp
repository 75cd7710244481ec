// Windows build: the real box. Compiled only for Windows.
#include <windows.h>

#include "Records/MessageBoxSeam.h"

int PlatformShowMessageBox(void* ownerWindow, const char* text, const char* caption, unsigned style) {
  return MessageBoxA(static_cast<HWND>(ownerWindow), text, caption, style);
}
