// CProgress: wrapper of a progress bar ("msctls_progress32").
#pragma once

#include "Library/CBaseControl.h"

#include <commctrl.h>

class CProgress : public CBaseControl {
 public:
  static constexpr const char* kClassName = "msctls_progress32";

  CProgress() {}
  CProgress(HWND parent, int id) : CBaseControl(parent, id) {}
  bool Create(HWND parent, int id, DWORD exStyle, DWORD style, int x, int y, int width, int height);

  // Returns the previous range (low word low, high word high).
  LRESULT SetRange(int low, int high) const;
  // Returns the previous position.
  int SetPos(int position) const;
  int GetPos() const;
};
