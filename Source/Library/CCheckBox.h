// CCheckBox: wrapper of a check box or radio button ("BUTTON" with a check style).
#pragma once

#include "Library/CBaseControl.h"

class CCheckBox : public CBaseControl {
 public:
  static constexpr const char* kClassName = "BUTTON";

  CCheckBox() {}
  CCheckBox(HWND parent, int id) : CBaseControl(parent, id) {}
  bool Create(HWND parent, int id, DWORD exStyle, DWORD style, int x, int y, int width, int height);

  // BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE.
  int GetCheck() const;
  void SetCheck(int state) const;
  bool IsChecked() const { return GetCheck() == BST_CHECKED; }
};
