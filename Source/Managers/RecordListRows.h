// The record list's rows as the managers wrote them, in the list's order:
// each row's record address and column texts. Sorting and type-ahead read
// them here, because under Wine every text read back from a list view is a
// message of some 70 microseconds: 10,000 rows took over a second to read.
// Every change of the record list's rows goes through the managers, which
// keep this copy in step; a copy that no longer matches the list's row
// count is not used (callers read the list instead).
#ifndef QUILLMATE_MANAGERS_RECORDLISTROWS_H
#define QUILLMATE_MANAGERS_RECORDLISTROWS_H

#include <windows.h>

#include <string>
#include <vector>

#include "Library/CListView.h"
#include "Managers/KindDescription.h"

struct ListedRow {
  LPARAM param = 0;  // the record's address
  std::vector<std::string> texts;  // one per column
};

// The rows of the list, or null when the copy does not match it (its row
// count differs).
std::vector<ListedRow>* ListedRowsOf(const CListView& list);

void ClearListedRows();
void InsertListedRow(int index, LPARAM param, const RowTexts& texts);
void UpdateListedRow(int index, const RowTexts& texts);
void RemoveListedRow(int index);

// The row at or after start (wrapping round) whose text in column starts with
// prefix, letter case ignored; -1 when none does. Reads the list itself when
// the copy does not match it.
int FindListedRowByPrefix(HWND list, int column, int start, const char* prefix, int prefixLength);

#endif  // QUILLMATE_MANAGERS_RECORDLISTROWS_H
