// Size, fit question and drawing of a printed photo.
#include "Editors/PhotoPrinting.h"

#include "Editors/PhotoGeometry.h"
#include "Records/MessageBoxSeam.h"

namespace {

constexpr int kPrintOffset = 100;
constexpr std::uint32_t kPrintBackground = 0x00FFFFFF;

}  // namespace

PrintPage PrintPageOf(HDC printerDc) {
  return PrintPage{printerDc, GetDeviceCaps(printerDc, LOGPIXELSX), GetDeviceCaps(printerDc, LOGPIXELSY),
                   GetDeviceCaps(printerDc, HORZRES)};
}

bool PrintPhotoOnPage(HWND owner, const CPicture& picture, const PrintPage& page) {
  if (picture.IsEmpty()) return false;
  PrintedSize size = PrintedPhotoSize(picture.Width(), picture.Height(), picture.XResolution(),
                                      picture.YResolution(), page.dpiX, page.dpiY, page.printableWidth);
  if (size.widerThanPage &&
      ShowMessageBox(owner, "The Photo is bigger than the size of the Page. Fit it to the Page?", "Quillmate",
                     kMbYesNo | kMbIconInformation) == kIdYes) {
    size = FitToPrintableWidth(size, page.printableWidth);
  }
  if (size.width <= 0 || size.height <= 0 || size.width > 0x7FFFFFFF - kPrintOffset ||
      size.height > 0x7FFFFFFF - kPrintOffset) {
    return false;
  }
  CPicture copy(picture);
  copy.SetBackground(kPrintBackground);
  copy.FlattenTransparency();
  const RECT target = {kPrintOffset, kPrintOffset, kPrintOffset + static_cast<LONG>(size.width),
                       kPrintOffset + static_cast<LONG>(size.height)};
  return copy.Draw(page.dc, target);
}
