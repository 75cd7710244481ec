// Startup: the program's life from the entry point to the end of its message
// loop. Start-up initialises the platform libraries, makes the data folders
// and every kind's store file, loads the pending time notifications, keeps to
// the single-instance rule, creates the main window and the tray icon, greets
// a first-time user, and then runs the message loop until Exit.
#pragma once

#include <windows.h>

class CSystemTray;

// The process-wide handles that start-up sets and keeps until the end.
extern HWND gMainWindow;

constexpr const char* kTrayTooltip = "Quillmate - Right click to begin.";
constexpr int kExitNormal = 0;
// Shown (caption "Error") when the shell cannot say where application data
// lives: the records would otherwise be scattered relative to the working
// directory. The program ends.
constexpr const char* kNoDataFolderText =
    "Quillmate cannot find the folder for application data, so it has nowhere to keep your records. "
    "Quillmate will end.";
constexpr int kExitMessageLoopFailed = -1;

// The whole life of the program, with tray as its one tray object. Returns
// the exit code: 0 after Exit, after finding a running instance and after a
// start-up failure that was shown to the user; -1 when the message loop
// could not retrieve a message.
int RunQuillmate(HINSTANCE instance, int showCommand, CSystemTray& tray);

// The steps before the message loop, without the guard. commandLine: the
// whole command line (null: the process's), whose /tray marks the start at
// log-on. Returns false when another instance runs (it has been brought
// forward); throws what the toolkit throws when a window cannot be
// registered or created.
bool StartQuillmate(HINSTANCE instance, int showCommand, CSystemTray& tray, const char* commandLine = nullptr);

// Opens, and creates where missing, every kind's store file in kind order
// (a start does this at its first idle moment). Returns how many could be
// opened.
int OpenEveryStore();
