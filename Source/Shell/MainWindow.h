// MainWindow: the program's one top-level window, class "QuillmateClass". It
// holds, top to bottom, a rebar with the main and the edit toolbar, the
// splitter with the manager list and the record list, and the status bar with
// its progress bar. Its window procedure only dispatches: each message has a
// small handler in a file of its own (creation, layout, commands,
// notifications, destruction).
#pragma once

#include "Library/WindowClassDef.h"

#include <windows.h>

constexpr const char* kMainWindowClassName = "QuillmateClass";
constexpr const char* kMainWindowTitle = "Quillmate";
constexpr UINT_PTR kNotificationTimerId = 1;
constexpr UINT kNotificationTimerPeriod = 500;
// The tray icon's callback message.
constexpr UINT kTrayCallbackMessage = WM_APP + 10;

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The main window's class: icon 2 (large, and small at the small-icon size),
// menu 101, window-colour background, arrow cursor. Start-up looks for a
// running instance with it before registering it.
WindowClassDef MainWindowClass(HINSTANCE instance);

// Creates the main window (default position and size), visible unless asked
// otherwise: a start that goes straight to the tray creates it hidden, so it
// never flashes on screen, and makes its controls only when something first
// needs them (MainWindowBuild). The window class and the splitter bar's class
// must be registered. Throws the toolkit's creation text when the window
// cannot be made.
HWND CreateMainWindow(HINSTANCE instance, bool visible = true);
