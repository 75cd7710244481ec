// CDateTime: one picker message per operation.
#include "Library/CDateTime.h"

bool CDateTime::Create(HWND parent, int id, DWORD exStyle, DWORD style, int x, int y, int width, int height) {
  return CreateControl(kClassName, parent, id, exStyle, style, x, y, width, height);
}

LRESULT CDateTime::GetTime(SYSTEMTIME* time) const {
  return Send(DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(time));
}

BOOL CDateTime::SetTime(const SYSTEMTIME* time) const {
  return static_cast<BOOL>(Send(DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(time)));
}

BOOL CDateTime::SetFormat(const char* format) const {
  return static_cast<BOOL>(Send(DTM_SETFORMATA, 0, reinterpret_cast<LPARAM>(format)));
}
