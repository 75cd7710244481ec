// PageSetup: once the user has chosen a printer (the record holds a device
// mode or device names), the record keeps what was chosen, margins included.
#include "Shell/PageSetup.h"

static_assert(sizeof(PAGESETUPDLGA) == 84, "the page-setup record of the 32-bit platform");

namespace {

constexpr DWORD kMarginFlags = PSD_MARGINS | PSD_INTHOUSANDTHSOFINCHES;
constexpr LONG kOneInch = 1000;

PAGESETUPDLGA DefaultRecord(HWND owner) {
  PAGESETUPDLGA record = {};
  record.lStructSize = sizeof(record);
  record.hwndOwner = owner;
  record.Flags = kMarginFlags;
  record.rtMargin = {kOneInch, kOneInch, kOneInch, kOneInch};
  return record;
}

}  // namespace

PAGESETUPDLGA gPageSetup = DefaultRecord(nullptr);
PageSetupDialogFunction gPageSetupDialog = PageSetupDlgA;

void SetPageSetupDefaults(HWND owner) {
  gPageSetup = DefaultRecord(owner);
}

BOOL RunPageSetup(HWND window) {
  if (!gPageSetup.hDevMode && !gPageSetup.hDevNames) gPageSetup = DefaultRecord(window);
  gPageSetup.hwndOwner = window;
  gPageSetup.Flags = kMarginFlags;
  gPageSetup.lpfnPagePaintHook = nullptr;
  return gPageSetupDialog(&gPageSetup);
}
