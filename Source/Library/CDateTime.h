// CDateTime: wrapper of a date-and-time picker ("SysDateTimePick32").
#pragma once

#include "Library/CBaseControl.h"

#include <commctrl.h>

class CDateTime : public CBaseControl {
 public:
  static constexpr const char* kClassName = "SysDateTimePick32";

  CDateTime() {}
  CDateTime(HWND parent, int id) : CBaseControl(parent, id) {}
  bool Create(HWND parent, int id, DWORD exStyle, DWORD style, int x, int y, int width, int height);

  // Returns GDT_VALID (0) when a time was read, GDT_NONE or GDT_ERROR otherwise.
  LRESULT GetTime(SYSTEMTIME* time) const;
  BOOL SetTime(const SYSTEMTIME* time) const;
  // A display format such as "HH:mm:ss"; null restores the default.
  BOOL SetFormat(const char* format) const;
};
