// CTrackbar: wrapper of a trackbar ("msctls_trackbar32").
#pragma once

#include "Library/CBaseControl.h"

#include <commctrl.h>

class CTrackbar : public CBaseControl {
 public:
  static constexpr const char* kClassName = "msctls_trackbar32";

  CTrackbar() {}
  CTrackbar(HWND parent, int id) : CBaseControl(parent, id) {}
  bool Create(HWND parent, int id, DWORD exStyle, DWORD style, int x, int y, int width, int height);

  void SetRangeMin(int minimum, bool redraw = false) const;
  void SetRangeMax(int maximum, bool redraw = true) const;
  int GetRangeMax() const;
  int GetPos() const;
  void SetPos(int position, bool redraw = true) const;
  int SetPageSize(int size) const;
  void SetTicFrequency(int frequency) const;
};
