// RecordColumns: the widths of the record list's columns. They share the
// width the list has, in the proportions of the kind's columns, whenever
// the list is resized or a kind is shown; once the user drags a divider,
// the widths of that kind's columns are the user's, kept under the
// program's registry key and used from then on.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "Records/RecordKind.h"

constexpr const char* kColumnsKey = "Software\\Ferrowind\\Quillmate\\Columns";

// Widths that share width in the proportions of defaults; the last column
// takes what rounding leaves. Empty when defaults is.
std::vector<int> ShareWidth(const std::vector<int>& defaults, int width);

// The widths of kind's columns in the record list: those kept for it, or
// else a share of the list's client width (never below the kind's own).
std::vector<int> RecordColumnWidths(HWND list, RecordKind kind);

// Sets the current kind's columns to RecordColumnWidths.
void FitRecordColumns(HWND mainWindow);

// Keeps the current kind's column widths as the user's.
void RememberRecordColumns(HWND mainWindow);
