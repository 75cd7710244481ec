// The two passes of the printing, and the print dialog around them.
#include "Editors/RichTextPrinter.h"

PrintDocumentCalls gPrintDocument = {StartDocA, StartPage, EndPage, EndDoc, AbortDoc};

namespace {

constexpr LONG kTwipsPerInch = 1440;

LONG ToTwips(LONG value, LONG perInch) {
  if (perInch <= 0) return 0;
  return static_cast<LONG>(static_cast<long long>(value) * kTwipsPerInch / perInch);
}

FORMATRANGE RangeOn(HDC printer, const RECT& target, const RECT& page, LONG from) {
  FORMATRANGE range = {};
  range.hdc = printer;
  range.hdcTarget = printer;
  range.rc = target;
  range.rcPage = page;
  range.chrg.cpMin = from;
  range.chrg.cpMax = -1;
  return range;
}

// Where the text ends, as far as the control lays it out on whole pages.
LONG MeasureEnd(HDC printer, const CRichEdit& body, const RECT& page, LONG length) {
  LONG position = 0;
  while (position < length) {
    FORMATRANGE range = RangeOn(printer, page, page, position);
    const LONG next = static_cast<LONG>(body.FormatRange(false, &range));
    if (next <= position) break;  // no progress: nothing more will fit
    position = next;
  }
  body.FormatRange(false, nullptr);
  return position;
}

}  // namespace

PrinterPage ReadPrinterPage(HDC printer) {
  return {GetDeviceCaps(printer, HORZRES), GetDeviceCaps(printer, VERTRES), GetDeviceCaps(printer, LOGPIXELSX),
          GetDeviceCaps(printer, LOGPIXELSY)};
}

RECT PageRectangle(const PrinterPage& page) {
  return {0, 0, ToTwips(page.horizontalResolution, page.pixelsPerInchX),
          ToTwips(page.verticalResolution, page.pixelsPerInchY)};
}

RECT TargetRectangle(const RECT& page, const RECT& margins) {
  return {page.left + ToTwips(margins.left, 1000), page.top + ToTwips(margins.top, 1000),
          page.right - ToTwips(margins.right, 1000), page.bottom - ToTwips(margins.bottom, 1000)};
}

int PrintRichText(HDC printer, const CRichEdit& body, const PrinterPage& device, const RECT& margins) {
  SetMapMode(printer, MM_TEXT);
  const RECT page = PageRectangle(device);
  const RECT target = TargetRectangle(page, margins);
  const LONG end = MeasureEnd(printer, body, page, body.GetTextLengthChars());

  DOCINFOA document = {};
  document.cbSize = sizeof(document);
  document.lpszDocName = "QuillmateNote";
  if (gPrintDocument.startDoc(printer, &document) <= 0) return -1;
  int pages = 0;
  LONG position = 0;
  do {
    if (gPrintDocument.startPage(printer) <= 0) break;
    FORMATRANGE range = RangeOn(printer, target, page, position);
    const LONG next = static_cast<LONG>(body.FormatRange(true, &range));
    RECT band = target;
    body.DisplayBand(&band);
    if (gPrintDocument.endPage(printer) <= 0) break;
    ++pages;
    if (next <= position) {  // a page that took nothing: the rest never fits
      position = end;
      break;
    }
    position = next;
  } while (position < end);
  body.FormatRange(false, nullptr);
  if (position < end || pages == 0) {
    gPrintDocument.abortDoc(printer);
    return -1;
  }
  gPrintDocument.endDoc(printer);
  return pages;
}

int PrintBody(HWND owner, const CRichEdit& body, PAGESETUPDLGA& pageSetup) {
  HDC printer = nullptr;
  if (!ChoosePrinter(owner, pageSetup, 0, printer)) return 0;
  if (printer == nullptr) return -1;
  const int pages = PrintRichText(printer, body, ReadPrinterPage(printer), pageSetup.rtMargin);
  DeleteDC(printer);
  return pages;
}
