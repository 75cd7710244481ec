// MainWindowBuild: what the main window does when it is created and when it
// is destroyed, and the splitter it keeps in its user data.
#pragma once

#include <windows.h>

class CSplitter;

// WM_CREATE: starts the notification timer and, withControls, makes the
// controls. False when a control could not be made. Toolkit failures are
// thrown as their message text.
bool BuildMainWindow(HWND window, bool withControls);

// The controls: the splitter, the two lists, the status bar with its
// progress bar, the rebar with both toolbars, and the text notes shown.
// A window made hidden for the tray (the start at log-on) makes them only
// when a message first needs them (NeedsMainWindowControls): the user waits
// for none of it, and a log-on start is quicker without.
bool BuildMainWindowControls(HWND window);
bool HasMainWindowControls(HWND window);
bool NeedsMainWindowControls(UINT message, WPARAM wParam);

// WM_DESTROY: deletes the splitter, destroys the four image lists, stops the
// timer and posts the quit message.
void TearDownMainWindow(HWND window);

// The splitter kept in the window's user data, or null.
CSplitter* SplitterOf(HWND window);
