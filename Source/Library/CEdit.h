// CEdit: wrapper of an edit control ("EDIT"), usually attached to a dialog item.
#pragma once

#include "Library/CBaseControl.h"

class CEdit : public CBaseControl {
 public:
  static constexpr const char* kClassName = "EDIT";

  CEdit() {}
  CEdit(HWND parent, int id) : CBaseControl(parent, id) {}
  bool Create(HWND parent, int id, DWORD exStyle, DWORD style, int x, int y, int width, int height);

  void LimitText(int characters) const;
  void SetSelection(int start, int end) const;
  BOOL SetReadOnly(bool readOnly) const;
  BOOL GetModify() const;
};
