// BandToggles: one show flag per band, process-wide like the window itself.
#include "Shell/BandToggles.h"

#include "Library/CRebar.h"
#include "Resources/MainWindowIds.h"
#include "Shell/MainWindowLayout.h"

namespace {

bool gShowBand[2] = {false, false};

constexpr int kToggleCommands[2] = {IDM_TOGGLE_MAIN_TOOLBAR, IDM_TOGGLE_EDIT_TOOLBAR};

}  // namespace

void ToggleRebarBand(HWND window, int band) {
  if (band < 0 || band > 1) return;
  CRebar(window, ID_REBAR).ShowBand(band, gShowBand[band]);
  gShowBand[band] = !gShowBand[band];
  CheckBandToggles(window);
  RelayOutMainWindow(window);
}

void CheckBandToggles(HWND window) {
  // A band is on screen while the next toggle would hide it.
  for (int band = 0; band < 2; ++band) {
    CheckMenuItem(GetMenu(window), kToggleCommands[band],
                  MF_BYCOMMAND | (gShowBand[band] ? MF_UNCHECKED : MF_CHECKED));
  }
}

bool RebarBandToggleShows(int band) {
  return band >= 0 && band <= 1 && gShowBand[band];
}
