// Type-ahead on a report-view list by any one column: letters typed into the
// list move the focus and the selection to the next row whose text in that
// column starts with them. The list view's own search only reads the first
// column, which in the record list holds the dates.
#pragma once

#include <windows.h>

// Letters typed within this many milliseconds of each other add up to one prefix.
constexpr DWORD kTypeAheadPause = 1000;

// The row at or after start (wrapping round) whose text in column starts
// with prefix, letter case ignored; -1 when none does. Reads the list.
int FindRowByPrefix(HWND list, int column, int start, const char* prefix, int prefixLength);

// How the type-ahead finds a row; an owner that keeps the list's texts
// itself can answer without reading them back from the list.
using RowFinder = int (*)(HWND list, int column, int start, const char* prefix, int prefixLength);

// Subclasses the list; the state lives until the list is destroyed. False
// when the subclass could not be installed (the list keeps its own search).
bool InstallListTypeAhead(HWND list, int column, RowFinder finder = FindRowByPrefix);
