// BandToggles: the View menu's commands that show and hide the rebar's two
// bands (0 the main toolbar, 1 the edit toolbar).
#pragma once

#include <windows.h>

// Shows the band when its flag is set and hides it when clear, inverts the
// flag and lays the window out again. Both bands are visible at start and
// both flags clear, so the first toggle hides.
void ToggleRebarBand(HWND window, int band);

// Checks the View menu's two items of the bands on screen.
void CheckBandToggles(HWND window);

// Whether the next toggle of the band shows it.
bool RebarBandToggleShows(int band);
