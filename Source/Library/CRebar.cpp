// CRebar: one rebar message per operation.
#include "Library/CRebar.h"

bool CRebar::Create(HWND parent, int id, DWORD exStyle, DWORD style, int x, int y, int width, int height) {
  return CreateControl(kClassName, parent, id, exStyle, style, x, y, width, height);
}

BOOL CRebar::AppendBand(const REBARBANDINFOA* band) const {
  return static_cast<BOOL>(Send(RB_INSERTBANDA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(band)));
}

BOOL CRebar::AppendToolbarBand(HWND child, int width) const {
  RECT client = {};
  GetClientRect(child, &client);
  REBARBANDINFOA band = {};
  band.cbSize = sizeof(band);
  band.fMask = RBBIM_STYLE | RBBIM_COLORS | RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE;
  band.fStyle = RBBS_BREAK | RBBS_CHILDEDGE | RBBS_GRIPPERALWAYS;
  band.clrFore = 0xFFFFDE;
  band.clrBack = GetSysColor(COLOR_BTNFACE);
  band.hwndChild = child;
  band.cxMinChild = 0;
  band.cyMinChild = client.bottom - client.top;
  band.cx = width;
  return AppendBand(&band);
}

BOOL CRebar::FitChevronToToolbar(HWND toolbar) const {
  for (int index = 0; index < GetBandCount(); ++index) {
    REBARBANDINFOA band = {};
    band.cbSize = sizeof band;
    band.fMask = RBBIM_CHILD | RBBIM_STYLE;
    if (!Send(RB_GETBANDINFOA, index, reinterpret_cast<LPARAM>(&band)) || band.hwndChild != toolbar) continue;
    SIZE whole = {};
    SendMessageA(toolbar, TB_GETMAXSIZE, 0, reinterpret_cast<LPARAM>(&whole));
    band.fMask = RBBIM_STYLE | RBBIM_IDEALSIZE;
    band.fStyle |= RBBS_USECHEVRON;
    band.cxIdeal = static_cast<UINT>(whole.cx);
    return static_cast<BOOL>(Send(RB_SETBANDINFOA, index, reinterpret_cast<LPARAM>(&band)));
  }
  return FALSE;
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
