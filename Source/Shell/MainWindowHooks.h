// MainWindowHooks: the places where the main window hands work to parts of
// the shell that are built elsewhere (the tray, start-up, the notification
// scheduler, the fast texts). Each hook is a plain function pointer that the
// owning part installs at start-up; an empty hook falls back to the simple
// behaviour named beside it. Tests install their own to watch the calls.
#pragma once

#include <windows.h>

struct MainWindowHooks {
  // WM_CLOSE and command 291. Empty: the window is simply hidden.
  void (*hideToTray)(HWND mainWindow) = nullptr;
  // Command 292 (the tray menu's "Quillmate..."). Empty: shown and activated.
  void (*restoreFromTray)(HWND mainWindow) = nullptr;
  // Exit confirmed with Yes. Empty: the main window is destroyed, whose
  // WM_DESTROY posts the quit message that ends the message loop.
  void (*exitConfirmed)(HWND mainWindow) = nullptr;
  // Command 282 and F1: open the help file. Empty: nothing.
  void (*openHelp)(HWND mainWindow) = nullptr;
  // Every tick of the 500 ms timer: the time-notification check. Empty: nothing.
  void (*timerTick)(HWND mainWindow) = nullptr;
  // A balloon on the tray icon (a reminder fell due while the main window
  // is hidden). Empty: no balloon. True when it was shown.
  bool (*showBalloon)(HWND mainWindow, const char* text, DWORD icon) = nullptr;
  // The tray icon's callback message WM_APP + 10, handed to the tray
  // object's notification handler. Empty: answered 0.
  LRESULT (*trayMessage)(HWND mainWindow, WPARAM iconId, LPARAM mouseMessage) = nullptr;
  // Commands 50000 to 65535, the tray's "Fast Texts" items. Empty: the
  // item's fast text is put on the clipboard.
  void (*fastTextCommand)(HWND mainWindow, int commandId) = nullptr;
};

// The hooks of the one main window.
extern MainWindowHooks gMainWindowHooks;
