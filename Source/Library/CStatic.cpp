// CStatic: one static-control message per operation.
#include "Library/CStatic.h"

bool CStatic::Create(HWND parent, int id, DWORD exStyle, DWORD style, int x, int y, int width, int height) {
  return CreateControl(kClassName, parent, id, exStyle, style, x, y, width, height);
}

HANDLE CStatic::SetImage(UINT type, HANDLE image) const {
  return reinterpret_cast<HANDLE>(Send(STM_SETIMAGE, type, reinterpret_cast<LPARAM>(image)));
}
