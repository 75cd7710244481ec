// FirstStart: the first start greets the user; every later one goes straight
// to the tray. The marker is the value "FirstTime" under
// HKEY_CURRENT_USER\Software\Ferrowind; the first start also registers the
// program to start at log-on.
#pragma once

#include <windows.h>

class CSystemTray;

constexpr const char* kFirstStartKey = "Software\\Ferrowind";
constexpr const char* kFirstStartValue = "FirstTime";
constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kRunValue = "quillmate.exe";
constexpr const char* kWelcomeText =
    "Quillmate is here for You. He helps you to manage your text notes, audio notes, video notes, photos, "
    "time notifications, e-mail and Internet resources.";
constexpr const char* kWelcomeTitle = "Welcome to Quillmate";

// Whether this is the first start: the marker is missing (or unreadable).
// Asked before the main window is made, which a later start creates hidden.
bool IsFirstStart();

// First start: writes the marker, shows the welcome balloon, writes the Run
// value with the executable's path and opens the help file once the message
// loop is idle; the main window stays visible. Later starts: hides the main window to the tray. Failing
// registry writes are ignored.
void GreetOrHide(bool firstStart, HWND mainWindow, CSystemTray& tray);
