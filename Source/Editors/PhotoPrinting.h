// Printing a photo onto the page the print dialog gives: the part of "Print
// Photo." after the dialog and before the end of the document, apart from
// them so that tests hand it a device context of known size and resolution
// (there is no printer under Wine).
#ifndef QUILLMATE_EDITORS_PHOTOPRINTING_H
#define QUILLMATE_EDITORS_PHOTOPRINTING_H

#include <windows.h>

#include "Graphics/CPicture.h"

// The page to draw on, with the printer's resolution and printable width.
struct PrintPage {
  HDC dc;
  int dpiX;
  int dpiY;
  int printableWidth;
};

// The page of a printer's device context, as GetDeviceCaps reports it.
PrintPage PrintPageOf(HDC printerDc);

// Draws a copy of picture, flattened onto white, at device position
// (100, 100) at its physical size. When it is wider than the printable
// width, asks owner's user "The Photo is bigger than the size of the Page.
// Fit it to the Page?" (Yes/No); Yes scales it to the printable width with
// its proportions kept. False when the picture is empty or drawing fails.
bool PrintPhotoOnPage(HWND owner, const CPicture& picture, const PrintPage& page);

#endif  // QUILLMATE_EDITORS_PHOTOPRINTING_H
