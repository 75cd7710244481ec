// CButton: one button message per operation.
#include "Library/CButton.h"

bool CButton::Create(HWND parent, int id, DWORD exStyle, DWORD style, int x, int y, int width, int height) {
  return CreateControl(kClassName, parent, id, exStyle, style, x, y, width, height);
}

void CButton::Click() const {
  Send(BM_CLICK);
}

HANDLE CButton::SetImage(UINT type, HANDLE image) const {
  return reinterpret_cast<HANDLE>(Send(BM_SETIMAGE, type, reinterpret_cast<LPARAM>(image)));
}
