#include "Editors/PrinterChoice.h"

PrintDialogFunction gPrintDialog = PrintDlgA;

bool ChoosePrinter(HWND owner, PAGESETUPDLGA& pageSetup, DWORD extraFlags, HDC& printer) {
  printer = nullptr;
  PRINTDLGA request = {};
  request.lStructSize = sizeof(request);
  request.hwndOwner = owner;
  request.Flags = PD_RETURNDC | extraFlags;
  request.nFromPage = 1;
  request.nToPage = 1;
  request.nMinPage = 1;
  request.nMaxPage = 1;
  request.nCopies = 1;
  const bool hasPrinter = pageSetup.hDevMode != nullptr && pageSetup.hDevNames != nullptr;
  if (hasPrinter) {
    request.hDevMode = pageSetup.hDevMode;
    request.hDevNames = pageSetup.hDevNames;
  }
  const BOOL chosen = gPrintDialog(&request);
  if (hasPrinter) {
    pageSetup.hDevMode = request.hDevMode;
    pageSetup.hDevNames = request.hDevNames;
  } else {
    if (request.hDevMode != nullptr) GlobalFree(request.hDevMode);
    if (request.hDevNames != nullptr) GlobalFree(request.hDevNames);
  }
  if (!chosen) return false;
  printer = request.hDC;
  return true;
}
