// NotificationArea: where the notification area lies on the screen, for the
// caption animation of hiding a window into the tray. The taskbar's own
// windows are asked first, then the shell's taskbar position, and last the
// bottom-right corner of the work area.
#pragma once

#include <windows.h>
#include <shellapi.h>

// The three places the rectangle can come from; tests replace them.
struct NotificationAreaSources {
  // The top-level taskbar window ("Shell_TrayWnd"), or null.
  HWND (*findTaskbar)();
  // SHAppBarMessage(ABM_GETTASKBARPOS); false when the shell does not say.
  bool (*taskbarPosition)(APPBARDATA* data);
  // SPI_GETWORKAREA.
  bool (*workArea)(RECT* area);
};

// The platform's sources.
const NotificationAreaSources& PlatformNotificationAreaSources();

RECT NotificationAreaRect(const NotificationAreaSources& sources);
inline RECT NotificationAreaRect() {
  return NotificationAreaRect(PlatformNotificationAreaSources());
}
