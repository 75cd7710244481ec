// CToolbar: one toolbar message per operation.
#include "Library/CToolbar.h"

#include <cstring>

bool CToolbar::Create(HWND parent, int id, DWORD exStyle, DWORD style, int x, int y, int width, int height) {
  return CreateControl(kClassName, parent, id, exStyle, style, x, y, width, height);
}

void CToolbar::SetButtonStructSize(int size) const {
  Send(TB_BUTTONSTRUCTSIZE, size);
}

BOOL CToolbar::SetButtonWidth(int minimum, int maximum) const {
  return static_cast<BOOL>(Send(TB_SETBUTTONWIDTH, 0, MAKELPARAM(minimum, maximum)));
}

HIMAGELIST CToolbar::SetImageList(HIMAGELIST list) const {
  return reinterpret_cast<HIMAGELIST>(Send(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(list)));
}

int CToolbar::AddString(const char* label) const {
  // The toolbar reads a list of texts ended by an empty one, so the label
  // needs a second terminating zero.
  CString list(label);
  list.Append("\0", 1);
  return static_cast<int>(Send(TB_ADDSTRINGA, 0, reinterpret_cast<LPARAM>(list.GetString())));
}

BOOL CToolbar::InsertButton(int index, const TBBUTTON* button) const {
  return static_cast<BOOL>(Send(TB_INSERTBUTTONA, index, reinterpret_cast<LPARAM>(button)));
}

BOOL CToolbar::AddButtons(int count, const TBBUTTON* buttons) const {
  return static_cast<BOOL>(Send(TB_ADDBUTTONSA, count, reinterpret_cast<LPARAM>(buttons)));
}

BOOL CToolbar::GetButton(int index, TBBUTTON* button) const {
  return static_cast<BOOL>(Send(TB_GETBUTTON, index, reinterpret_cast<LPARAM>(button)));
}

BOOL CToolbar::DeleteButton(int index) const {
  return static_cast<BOOL>(Send(TB_DELETEBUTTON, index));
}

int CToolbar::GetButtonCount() const {
  return static_cast<int>(Send(TB_BUTTONCOUNT));
}

void CToolbar::AutoSize() const {
  Send(TB_AUTOSIZE);
}
