// CButton: wrapper of a push button ("BUTTON").
#pragma once

#include "Library/CBaseControl.h"

class CButton : public CBaseControl {
 public:
  static constexpr const char* kClassName = "BUTTON";

  CButton() {}
  CButton(HWND parent, int id) : CBaseControl(parent, id) {}
  bool Create(HWND parent, int id, DWORD exStyle, DWORD style, int x, int y, int width, int height);

  // Presses the button as a user would (the parent gets BN_CLICKED).
  void Click() const;
  // type IMAGE_BITMAP or IMAGE_ICON; returns the previous image.
  HANDLE SetImage(UINT type, HANDLE image) const;
};
