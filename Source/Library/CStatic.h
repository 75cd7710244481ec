// CStatic: wrapper of a static control ("STATIC"): a label or a picture.
#pragma once

#include "Library/CBaseControl.h"

class CStatic : public CBaseControl {
 public:
  static constexpr const char* kClassName = "STATIC";

  CStatic() {}
  CStatic(HWND parent, int id) : CBaseControl(parent, id) {}
  bool Create(HWND parent, int id, DWORD exStyle, DWORD style, int x, int y, int width, int height);

  // type IMAGE_BITMAP, IMAGE_ICON, ...; returns the previous image.
  HANDLE SetImage(UINT type, HANDLE image) const;
};
