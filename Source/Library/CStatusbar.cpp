// CStatusbar: one status-bar message per operation.
#include "Library/CStatusbar.h"

bool CStatusbar::Create(HWND parent, int id, DWORD exStyle, DWORD style, int x, int y, int width,
                        int height) {
  return CreateControl(kClassName, parent, id, exStyle, style, x, y, width, height);
}

BOOL CStatusbar::SetParts(int count, const int* rightEdges) const {
  return static_cast<BOOL>(Send(SB_SETPARTS, count, reinterpret_cast<LPARAM>(rightEdges)));
}

BOOL CStatusbar::SetPartText(int part, const char* text, UINT drawType) const {
  return static_cast<BOOL>(Send(SB_SETTEXTA, part | drawType, reinterpret_cast<LPARAM>(text)));
}

BOOL CStatusbar::GetPartRect(int part, RECT* rect) const {
  return static_cast<BOOL>(Send(SB_GETRECT, part, reinterpret_cast<LPARAM>(rect)));
}
