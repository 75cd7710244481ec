// NotificationArea: the walk through the taskbar's windows and the two
// fallbacks.
#include "Library/NotificationArea.h"

#include <cstring>

namespace {

HWND FindTaskbar() {
  return FindWindowA("Shell_TrayWnd", nullptr);
}

bool TaskbarPosition(APPBARDATA* data) {
  return SHAppBarMessage(ABM_GETTASKBARPOS, data) != 0;
}

bool WorkArea(RECT* area) {
  return SystemParametersInfoA(SPI_GETWORKAREA, 0, area, 0) != FALSE;
}

// A clock this far above the area's bottom sits in a vertical taskbar.
constexpr int kVerticalClockMargin = 5;

struct TaskbarWalk {
  RECT rect;
};

BOOL CALLBACK VisitTaskbarWindow(HWND window, LPARAM parameter) {
  auto* walk = reinterpret_cast<TaskbarWalk*>(parameter);
  char className[256];
  if (!GetClassNameA(window, className, 255)) return TRUE;
  if (std::strcmp(className, "TrayNotifyWnd") == 0) {
    GetWindowRect(window, &walk->rect);
    return TRUE;
  }
  if (std::strcmp(className, "TrayClockWClass") == 0) {
    RECT clock;
    GetWindowRect(window, &clock);
    if (clock.bottom < walk->rect.bottom - kVerticalClockMargin) {
      walk->rect.top = clock.bottom;
    } else {
      walk->rect.right = clock.left;
    }
    return FALSE;
  }
  return TRUE;
}

}  // namespace

const NotificationAreaSources& PlatformNotificationAreaSources() {
  static const NotificationAreaSources sources = {FindTaskbar, TaskbarPosition, WorkArea};
  return sources;
}

RECT NotificationAreaRect(const NotificationAreaSources& sources) {
  if (HWND taskbar = sources.findTaskbar()) {
    TaskbarWalk walk;
    GetWindowRect(taskbar, &walk.rect);
    EnumChildWindows(taskbar, VisitTaskbarWindow, reinterpret_cast<LPARAM>(&walk));
    return walk.rect;
  }

  APPBARDATA bar;
  std::memset(&bar, 0, sizeof bar);
  bar.cbSize = sizeof bar;  // 36
  if (sources.taskbarPosition(&bar)) {
    RECT rect = bar.rc;
    if (bar.uEdge == ABE_LEFT || bar.uEdge == ABE_RIGHT) {
      rect.top = bar.rc.bottom - 100;
      rect.bottom = bar.rc.bottom - 16;
    } else {
      rect.left = bar.rc.right - 100;
      rect.right = bar.rc.right - 16;
    }
    return rect;
  }

  RECT area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  sources.workArea(&area);
  RECT rect = area;
  rect.left = area.right - 150;
  rect.top = area.bottom - 30;
  return rect;
}
