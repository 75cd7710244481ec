// PageSetup: the process-wide page-setup record (printer, paper, margins)
// that the printing of text notes and photos uses, and the Page Setup command.
#pragma once

#include <windows.h>
#include <commdlg.h>

// Holds one-inch margins in thousandths of an inch until start-up or the
// Page Setup command fills it.
extern PAGESETUPDLGA gPageSetup;

// Start-up's defaults: size 84, the owner, no printer, margins given in
// thousandths of an inch, one inch each, no hooks or template.
void SetPageSetupDefaults(HWND owner);

// The platform's dialog; tests replace it to answer in its place.
using PageSetupDialogFunction = BOOL(WINAPI*)(PAGESETUPDLGA* record);
extern PageSetupDialogFunction gPageSetupDialog;

// Command 295: while no printer was chosen the record is reset to one-inch
// margins; then the owner, the flags and the paint hook are set and the
// dialog runs on the record. Returns the dialog's result.
BOOL RunPageSetup(HWND window);
