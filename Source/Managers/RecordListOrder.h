// The order of the record list: a click on a column header sorts the rows by
// that column (dates as the times they name, other texts case-insensitively),
// a second click on the same column reverses it. The order is kept per kind
// for the session, so a reload of the list (a notification that falls due, an
// edit that shows the kind again) comes back in the order the user chose.
#ifndef QUILLMATE_MANAGERS_RECORDLISTORDER_H
#define QUILLMATE_MANAGERS_RECORDLISTORDER_H

#include <windows.h>

#include "Library/CListView.h"
#include "Records/RecordKind.h"

struct RecordListOrder {
  int column = -1;  // -1: file order, as the store walk gives it
  bool descending = false;
};

// The order chosen for the kind (file order until a header was clicked).
RecordListOrder RecordListOrderOf(RecordKind kind);

// The header of column of the list that shows the current kind was clicked:
// sorts by it, ascending, or reversed when it is the column already sorted by.
void SortRecordListByColumn(HWND mainWindow, int column);

// Puts the rows of the list (showing kind) in the kind's order and marks the
// sorted column's header with an arrow. Rows that compare equal keep their
// order. Nothing happens while the kind is in file order.
void ApplyRecordListOrder(RecordKind kind, const CListView& list);

// Forgets every kind's order (a fresh main window, tests).
void ResetRecordListOrders();

#endif  // QUILLMATE_MANAGERS_RECORDLISTORDER_H
