// BandToggles: one show flag per band, process-wide like the window itself.
#include "Shell/BandToggles.h"

#include "Library/CRebar.h"
#include "Resources/MainWindowIds.h"
#include "Shell/MainWindowLayout.h"

namespace {

bool gShowBand[2] = {false, false};

}  // namespace

void ToggleRebarBand(HWND window, int band) {
  if (band < 0 || band > 1) return;
  CRebar(window, ID_REBAR).ShowBand(band, gShowBand[band]);
  gShowBand[band] = !gShowBand[band];
  RelayOutMainWindow(window);
}

bool RebarBandToggleShows(int band) {
  return band >= 0 && band <= 1 && gShowBand[band];
}
