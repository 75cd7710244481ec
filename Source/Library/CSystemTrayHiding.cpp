// CSystemTray::HideToTray and RestoreFromTray: a window is hidden into the
// notification area by making it the child of an invisible holder window,
// which takes it off the taskbar, and brought back by giving it back to the
// desktop. The caption zoom to and from the notification area follows the
// platform's minimise animation setting.
#include "Library/CSystemTray.h"

#include "Library/NotificationArea.h"

namespace {

// Created on first use and kept until the process ends; never shown.
HWND gHolderWindow = nullptr;

HWND HolderWindow() {
  if (!gHolderWindow || !IsWindow(gHolderWindow)) {
    gHolderWindow = CreateWindowExA(0, "Static", "", WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                    CW_USEDEFAULT, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  }
  return gHolderWindow;
}

bool WindowAnimationOn() {
  ANIMATIONINFO info;
  info.cbSize = sizeof info;  // 8
  info.iMinAnimate = 0;
  if (!SystemParametersInfoA(SPI_GETANIMATION, sizeof info, &info, 0)) return false;
  return info.iMinAnimate != 0;
}

}  // namespace

void CSystemTray::HideToTray(HWND window) {
  // A window that was never shown has nothing to zoom from.
  if (IsWindowVisible(window) && WindowAnimationOn()) {
    RECT from;
    GetWindowRect(window, &from);
    RECT to = NotificationAreaRect();
    DrawAnimatedRects(window, IDANI_CAPTION, &from, &to);
  }
  if (HWND holder = HolderWindow()) SetParent(window, holder);
  SetWindowLongA(window, GWL_STYLE, GetWindowLongA(window, GWL_STYLE) & ~WS_VISIBLE);
}

void CSystemTray::RestoreFromTray(HWND window) {
  if (WindowAnimationOn()) {
    RECT to;
    GetWindowRect(window, &to);
    RECT from = NotificationAreaRect();
    SetParent(window, nullptr);
    DrawAnimatedRects(window, IDANI_CAPTION, &from, &to);
  } else {
    SetParent(window, nullptr);
  }
  SetWindowLongA(window, GWL_STYLE, GetWindowLongA(window, GWL_STYLE) | WS_VISIBLE);
  RedrawWindow(window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
  if (gHolderWindow && IsWindow(gHolderWindow)) SetActiveWindow(gHolderWindow);
  SetActiveWindow(window);
  SetForegroundWindow(window);
}
