// FindDialog: the modeless "Find" window. Typing in its search box starts a
// search across every kind, after a short pause, on a worker thread
// (BackgroundSearch); the hits appear as they come, with the kind's picture,
// the title, where the record matched and an excerpt, and their count. A
// new keystroke cancels the search under way. Enter or a double click on a
// hit asks the main window to open that record in its editor. One Find
// window at a time; it holds nothing unsaved, so it never keeps the program
// from ending, and it stays open while an editor it opened runs. It can be
// sized: the list and its columns and the search box grow with it, the
// buttons keep to its corner, and it opens as it was last closed.
#pragma once

#include <windows.h>

#include <cstdint>

// Posted by the Find window to the main window: wParam the kind number,
// lParam the record's object address.
constexpr UINT kOpenFoundRecordMessage = WM_APP + 43;

// Where the window's size and place are kept from one opening to the next.
constexpr const char* kFindWindowKey = "Software\\Ferrowind\\Quillmate\\Find";

// Milliseconds after the last keystroke before the search starts.
constexpr UINT kFindTypingPause = 250;

// Opens the Find window owned by the main window, or brings the open one
// forward with its search box focused. Returns it, or null when it could
// not be created (reported in a box).
HWND ShowFindDialog(HWND mainWindow);

// The open Find window, or null.
HWND OpenFindDialog();

// Shows the record's kind, focuses its row and opens the kind's editor on
// it, under the one-editor rule (an open editor is brought forward instead).
// A record that is gone since it was found is told in a box.
void OpenFoundRecord(HWND mainWindow, int kind, std::uint32_t address);

// How long the last search took to show its first hits and to end, in
// milliseconds from the end of the typing pause (-1 until known).
struct FindTimings {
  double firstHits = -1;
  double done = -1;
};
FindTimings LastFindTimings();
