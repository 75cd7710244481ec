// CEdit: one edit-control message per operation.
#include "Library/CEdit.h"

bool CEdit::Create(HWND parent, int id, DWORD exStyle, DWORD style, int x, int y, int width, int height) {
  return CreateControl(kClassName, parent, id, exStyle, style, x, y, width, height);
}

void CEdit::LimitText(int characters) const {
  Send(EM_LIMITTEXT, characters);
}

void CEdit::SetSelection(int start, int end) const {
  Send(EM_SETSEL, start, end);
}

BOOL CEdit::SetReadOnly(bool readOnly) const {
  return static_cast<BOOL>(Send(EM_SETREADONLY, readOnly));
}

BOOL CEdit::GetModify() const {
  return static_cast<BOOL>(Send(EM_GETMODIFY));
}
