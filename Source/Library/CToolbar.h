// CToolbar: wrapper of a toolbar ("ToolbarWindow32"): buttons with images
// from an image list and labels from the toolbar's string list.
#pragma once

#include "Library/CBaseControl.h"

#include <commctrl.h>

class CToolbar : public CBaseControl {
 public:
  static constexpr const char* kClassName = "ToolbarWindow32";

  CToolbar() {}
  CToolbar(HWND parent, int id) : CBaseControl(parent, id) {}
  bool Create(HWND parent, int id, DWORD exStyle, DWORD style, int x, int y, int width, int height);

  void SetButtonStructSize(int size) const;
  BOOL SetButtonWidth(int minimum, int maximum) const;
  HIMAGELIST SetImageList(HIMAGELIST list) const;
  // Adds one label to the string list; returns its index or -1.
  int AddString(const char* label) const;
  BOOL InsertButton(int index, const TBBUTTON* button) const;
  // Appends count buttons in one message: the toolbar lays itself out once,
  // not once for each button.
  BOOL AddButtons(int count, const TBBUTTON* buttons) const;
  BOOL GetButton(int index, TBBUTTON* button) const;
  BOOL DeleteButton(int index) const;
  int GetButtonCount() const;
  void AutoSize() const;
};
