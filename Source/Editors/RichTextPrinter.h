// Printing the body of a text note: the print dialog gives a printer device
// context, the control lays the text out page by page (EM_FORMATRANGE) into
// the page less the page-setup margins, and each page is one printed page.
//
// Measures are twips (1/1440 inch). The page is the printable area of the
// device, HORZRES x 1440 / LOGPIXELSX wide and VERTRES x 1440 / LOGPIXELSY
// high; margins are kept in thousandths of an inch and become margin x 1440
// / 1000 twips, so a 0.75-inch margin prints as 0.75 inch.
//
// The print dialog and the document calls are seams: tests put a metafile
// or memory device context where the dialog would give a printer's, and
// count the pages.
#ifndef QUILLMATE_EDITORS_RICHTEXTPRINTER_H
#define QUILLMATE_EDITORS_RICHTEXTPRINTER_H

#include <windows.h>
#include <commdlg.h>

#include "Editors/PrinterChoice.h"
#include "Library/CRichEdit.h"

// The device measures that the page follows.
struct PrinterPage {
  int horizontalResolution;  // HORZRES, pixels
  int verticalResolution;    // VERTRES
  int pixelsPerInchX;        // LOGPIXELSX
  int pixelsPerInchY;        // LOGPIXELSY
};

PrinterPage ReadPrinterPage(HDC printer);
// The printable area in twips, origin 0, 0 (empty for a device without a
// resolution).
RECT PageRectangle(const PrinterPage& page);
// The page less the margins (left, top, right, bottom in thousandths of an
// inch).
RECT TargetRectangle(const RECT& page, const RECT& marginsThousandths);

// The platform's document calls; tests count pages through their own.
struct PrintDocumentCalls {
  int(WINAPI* startDoc)(HDC, const DOCINFOA*);
  int(WINAPI* startPage)(HDC);
  int(WINAPI* endPage)(HDC);
  int(WINAPI* endDoc)(HDC);
  int(WINAPI* abortDoc)(HDC);
};
extern PrintDocumentCalls gPrintDocument;

// Prints the whole body on printer as the document "QuillmateNote": a
// measuring pass finds where the text ends, then each page takes what fits
// into the target rectangle. A pass stops as soon as a step makes no
// progress, so a control that lays out nothing ends the job after one page.
// Returns the number of pages printed, or -1 when the device refused the
// document or a page (the document is then aborted).
int PrintRichText(HDC printer, const CRichEdit& body, const PrinterPage& page, const RECT& marginsThousandths);

// Print Note: asks for a printer with the print dialog owned by owner (pages
// 1 to 1, one copy; the page setup's printer when it holds one) and prints
// the body with the page setup's margins. A printer chosen in the dialog is
// kept in the page setup record for the next time. Nothing happens when the
// user cancels. Returns the pages printed, 0 after a cancel, -1 on failure.
int PrintBody(HWND owner, const CRichEdit& body, PAGESETUPDLGA& pageSetup);

#endif  // QUILLMATE_EDITORS_RICHTEXTPRINTER_H
