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

// Sets the current kind's columns to the widths kept for it, or else to a
// share of the list's client width.
void FitRecordColumns(HWND mainWindow);

// Keeps the current kind's column widths as the user's.
void RememberRecordColumns(HWND mainWindow);
