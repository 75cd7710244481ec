// WindowProcGuard: runs a window-procedure handler so that no exception
// crosses back into the platform. The toolkit's thrown texts are shown in a
// warning box with the given caption, anything else as "Unknown Error"; the
// procedure then answers -1.
#pragma once

#include "Records/MessageBoxSeam.h"

#include <windows.h>

template <typename Handler>
LRESULT RunGuarded(HWND owner, const char* caption, Handler handler) {
  try {
    return handler();
  } catch (const char* text) {
    ShowMessageBox(owner, text, caption, kMbOk | kMbIconWarning);
  } catch (...) {
    ShowMessageBox(owner, "Unknown Error", caption, kMbOk | kMbIconWarning);
  }
  return -1;
}
