// The print dialog as the text note and the photo ask it: one page, one
// copy, starting from the printer of the main window's page setup when one
// was chosen there, and keeping what the dialog returns for it.
#ifndef QUILLMATE_EDITORS_PRINTERCHOICE_H
#define QUILLMATE_EDITORS_PRINTERCHOICE_H

#include <windows.h>

#include <commdlg.h>

using PrintDialogFunction = BOOL(WINAPI*)(PRINTDLGA* request);
// PrintDlgA; tests answer the dialog through their own.
extern PrintDialogFunction gPrintDialog;

// Shows the dialog owned by owner (extraFlags added to PD_RETURNDC). False
// when cancelled. printer receives the chosen printer's device context (the
// caller deletes it), null when the dialog gave none. The dialog may free
// the page setup's handles and return new ones: the page setup takes them.
// A printer chosen without one in the page setup is this print's only.
bool ChoosePrinter(HWND owner, PAGESETUPDLGA& pageSetup, DWORD extraFlags, HDC& printer);

#endif  // QUILLMATE_EDITORS_PRINTERCHOICE_H
