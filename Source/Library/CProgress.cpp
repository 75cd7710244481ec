// CProgress: one progress-bar message per operation.
#include "Library/CProgress.h"

bool CProgress::Create(HWND parent, int id, DWORD exStyle, DWORD style, int x, int y, int width, int height) {
  return CreateControl(kClassName, parent, id, exStyle, style, x, y, width, height);
}

LRESULT CProgress::SetRange(int low, int high) const {
  return Send(PBM_SETRANGE32, low, high);
}

int CProgress::SetPos(int position) const {
  return static_cast<int>(Send(PBM_SETPOS, position));
}

int CProgress::GetPos() const {
  return static_cast<int>(Send(PBM_GETPOS));
}
