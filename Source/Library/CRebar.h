// CRebar: wrapper of a rebar ("ReBarWindow32") holding toolbar bands.
#pragma once

#include "Library/CBaseControl.h"

#include <commctrl.h>

class CRebar : public CBaseControl {
 public:
  static constexpr const char* kClassName = "ReBarWindow32";

  CRebar() {}
  CRebar(HWND parent, int id) : CBaseControl(parent, id) {}
  bool Create(HWND parent, int id, DWORD exStyle, DWORD style, int x, int y, int width, int height);

  // Appends the band; the caller fills cbSize and the mask.
  BOOL AppendBand(const REBARBANDINFOA* band) const;
  // Appends a band on a line of its own holding child (a toolbar): gripper
  // always shown, child edge, light text colour on the button face, width
  // width, at least as high as the child's client area.
  BOOL AppendToolbarBand(HWND child, int width) const;
  // The band holding toolbar shows a chevron while it is narrower than the
  // whole toolbar (its ideal width), behind which the hidden buttons are
  // offered (RBN_CHEVRONPUSHED). Call again whenever the buttons change.
  // False when no band holds toolbar.
  BOOL FitChevronToToolbar(HWND toolbar) const;
  BOOL ShowBand(int index, bool show) const;
  int GetBandCount() const;
  int GetBarHeight() const;
};
