// CStatusbar: wrapper of a status bar ("msctls_statusbar32") with parts.
#pragma once

#include "Library/CBaseControl.h"

#include <commctrl.h>

class CStatusbar : public CBaseControl {
 public:
  static constexpr const char* kClassName = "msctls_statusbar32";

  CStatusbar() {}
  CStatusbar(HWND parent, int id) : CBaseControl(parent, id) {}
  bool Create(HWND parent, int id, DWORD exStyle, DWORD style, int x, int y, int width, int height);

  // rightEdges holds count right edges in client coordinates; -1 runs to the end.
  BOOL SetParts(int count, const int* rightEdges) const;
  BOOL SetPartText(int part, const char* text, UINT drawType = 0) const;
  BOOL GetPartRect(int part, RECT* rect) const;
};
