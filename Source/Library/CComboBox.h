// CComboBox: wrapper of a combo box ("COMBOBOX"), usually attached to a
// dialog item.
#pragma once

#include "Library/CBaseControl.h"

class CComboBox : public CBaseControl {
 public:
  static constexpr const char* kClassName = "COMBOBOX";

  CComboBox() {}
  CComboBox(HWND parent, int id) : CBaseControl(parent, id) {}
  bool Create(HWND parent, int id, DWORD exStyle, DWORD style, int x, int y, int width, int height);

  // Returns the new entry's index (CB_ERR or CB_ERRSPACE on failure).
  int AddString(const char* text) const;
  int GetCount() const;
  int GetCurSel() const;
  int SetCurSel(int index) const;
  void ResetContent() const;
  // The text of entry index into out; returns its length.
  int GetItemText(int index, CString& out) const;
  int FindStringExact(const char* text, int after = -1) const;
  BOOL LimitText(int characters) const;
};
