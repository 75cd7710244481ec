// CRebar: one rebar message per operation.
#include "Library/CRebar.h"

bool CRebar::Create(HWND parent, int id, DWORD exStyle, DWORD style, int x, int y, int width, int height) {
  return CreateControl(kClassName, parent, id, exStyle, style, x, y, width, height);
}

BOOL CRebar::AppendBand(const REBARBANDINFOA* band) const {
  return static_cast<BOOL>(Send(RB_INSERTBANDA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(band)));
}

BOOL CRebar::ShowBand(int index, bool show) const {
  return static_cast<BOOL>(Send(RB_SHOWBAND, index, show));
}

int CRebar::GetBandCount() const {
  return static_cast<int>(Send(RB_GETBANDCOUNT));
}

int CRebar::GetBarHeight() const {
  return static_cast<int>(Send(RB_GETBARHEIGHT));
}
