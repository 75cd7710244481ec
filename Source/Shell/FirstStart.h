// FirstStart: the first start greets the user; the start at log-on goes
// straight to the tray, and a later start by the user (from the Start menu)
// shows the window. The marker is the value "FirstTime" under
// HKEY_CURRENT_USER\Software\Ferrowind; the first start also registers the
// program to start at log-on, with the switch /tray that tells that start
// apart.
#pragma once

#include <windows.h>

#include <string>

class CSystemTray;

constexpr const char* kFirstStartKey = "Software\\Ferrowind";
constexpr const char* kFirstStartValue = "FirstTime";
constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kRunValue = "quillmate.exe";
constexpr const char* kWelcomeText =
    "Quillmate is here for You. He helps you to manage your text notes, audio notes, video notes, photos, "
    "time notifications, e-mail and Internet resources.";
constexpr const char* kWelcomeTitle = "Welcome to Quillmate";

constexpr const char* kTraySwitch = "/tray";

enum class StartKind {
  First,     // no marker yet: the window, the welcome, the help file
  LogOn,     // a later start with /tray: only the tray icon
  ByTheUser  // a later start without it: the window, nothing else
};

// Whether this is the first start: the marker is missing (or unreadable).
// Asked before the main window is made, which a start to the tray creates
// hidden.
bool IsFirstStart();

// Whether commandLine (the whole line, the program's name first) carries
// the switch /tray, in any case.
bool HasTraySwitch(const char* commandLine);

// The kind of this start, from the marker and the command line.
StartKind KindOfStart(const char* commandLine);

// The Run value's data: the executable's path in quotes, then /tray.
std::string RunValueFor(const std::string& executable);

// A Run value that names executable without the switch (as earlier versions
// wrote it) gets it, so the start at log-on stays silent; one naming another
// program, or none, is left alone. Failing registry writes are ignored.
void AddTraySwitchToRunValue(const std::string& executable);

// First start: writes the marker and the Run value (RunValueFor), then shows
// the welcome balloon and opens the help file once the message loop is idle
// (tray must live until then);
// the main window stays visible. Start at log-on: hides the main window to
// the tray. A start by the user leaves the window as it is. Failing registry
// writes are ignored.
void GreetOrHide(StartKind start, HWND mainWindow, CSystemTray& tray);
