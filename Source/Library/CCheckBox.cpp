// CCheckBox: one button message per operation.
#include "Library/CCheckBox.h"

bool CCheckBox::Create(HWND parent, int id, DWORD exStyle, DWORD style, int x, int y, int width, int height) {
  return CreateControl(kClassName, parent, id, exStyle, style, x, y, width, height);
}

int CCheckBox::GetCheck() const {
  return static_cast<int>(Send(BM_GETCHECK));
}

void CCheckBox::SetCheck(int state) const {
  Send(BM_SETCHECK, state);
}
