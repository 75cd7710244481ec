// The manager operations that are the same for every kind, addressed by the
// kind: the main window routes its generic commands here by kind number.
// Each operation takes the main window, whose record list (1004), edit
// toolbar (1002 in the rebar 1000) and progress bar (1006 in the status bar
// 1007) it works on, opens the kind's store, acts and closes it again.
#ifndef QUILLMATE_MANAGERS_KINDMANAGER_H
#define QUILLMATE_MANAGERS_KINDMANAGER_H

#include <windows.h>

#include <vector>

#include "Records/RecordKind.h"

// The kind the record list shows; set only by ShowRecords, 0 at start.
int CurrentKind();

// Makes the kind current and fills the edit toolbar and the record list with
// the kind's buttons, columns and records in file order, moving the progress
// bar up to 100. False when the store could not be opened (list and toolbar
// stay as they were) or closing it reported an error.
bool ShowRecords(RecordKind kind, HWND mainWindow);

// all 0: deletes the selected records (no question). all 1: after the kind's
// question answered Yes, deletes every record the list shows. Attachments go
// with their records; an attachment whose stored name is not a bare file name
// is left alone.
void RemoveRecords(RecordKind kind, HWND mainWindow, int all);

// The widths a show gives the kind's columns in the emptied record list, one
// for each column; none, or a hook that returns another count: the kind's own.
using ColumnWidthsHook = std::vector<int> (*)(HWND list, RecordKind kind);
void SetColumnWidthsHook(ColumnWidthsHook hook);

// Opens the kind's store file, creating it empty when it is missing, and
// closes it. False when that failed.
bool EnsureStore(RecordKind kind);

#endif  // QUILLMATE_MANAGERS_KINDMANAGER_H
