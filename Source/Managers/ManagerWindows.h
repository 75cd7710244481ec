// The main window's controls that the managers fill, found from the main
// window through their ids: the record list is its child, the edit toolbar a
// child of the rebar, the progress bar a child of the status bar.
#ifndef QUILLMATE_MANAGERS_MANAGERWINDOWS_H
#define QUILLMATE_MANAGERS_MANAGERWINDOWS_H

#include <windows.h>

#include "Library/CListView.h"
#include "Library/CProgress.h"
#include "Library/CToolbar.h"

CListView RecordListOf(HWND mainWindow);
CListView ManagerListOf(HWND mainWindow);
CToolbar EditToolbarOf(HWND mainWindow);
CProgress ProgressBarOf(HWND mainWindow);

// The status bar's part that shows how many records the list holds.
constexpr int kRecordCountPart = 2;
// Writes the record list's row count into that part ("1 record", "25 records").
void ShowRecordCount(HWND mainWindow);
// The status bar's progress bar is on screen only while a list fills or a
// long action runs: shown while an object of this class lives. Scopes nest
// (adding photos shows the album list each time); the outermost one hides.
class CBusyIndicator {
 public:
  explicit CBusyIndicator(HWND mainWindow);
  ~CBusyIndicator();
  CBusyIndicator(const CBusyIndicator&) = delete;
  CBusyIndicator& operator=(const CBusyIndicator&) = delete;

 private:
  HWND m_progress;
};

#endif  // QUILLMATE_MANAGERS_MANAGERWINDOWS_H
