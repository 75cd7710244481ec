// Helpers of the tray and start-up tests: a plain top-level window whose
// messages a test can watch (the shared message pumps come with it), and a
// question to the shell whether an icon is in the notification area.
#pragma once

#include <windows.h>

#include "Support/MessagePump.h"
#include "Support/TestHostWindow.h"

namespace traytest {

// A top-level overlapped window at (100, 100) whose messages a test can
// watch, visible (and activated) when asked.
class WatchedWindow : public qmtest::TestHostWindow {
 public:
  explicit WatchedWindow(bool visible, const char* className = "QuillmateTrayTestWindow")
      : TestHostWindow(WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0), RECT{100, 100, 500, 400},
                       "Tray test", className) {}
};

// Whether the shell holds an icon of this window and id: a modification of
// its tooltip succeeds only for an icon that exists.
bool ShellHasIcon(HWND window, UINT id);

// Removes the icon behind its owner's back, as a shell restart does.
void ShellForgetsIcon(HWND window, UINT id);

}  // namespace traytest
