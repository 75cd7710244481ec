// WindowClassDef: the platform's extended window-class record with the
// program's defaults filled in, registered in one call that throws the
// toolkit's registration text on failure.
#pragma once

#include <windows.h>

struct WindowClassDef : WNDCLASSEXA {
  // Class style 0, arrow cursor, window-colour background, no icon, no menu.
  WindowClassDef(WNDPROC procedure, const char* className, HINSTANCE instance);
  // As above plus the icon resource (large, and small at the system's
  // small-icon size) and the menu resource.
  WindowClassDef(WNDPROC procedure, const char* className, HINSTANCE instance, int iconId, int menuId);

  // Throws ToolkitErrors::kRegisterClassFailed when the platform refuses.
  ATOM Register() const;
  // The running top-level window of this class (its last active pop-up when
  // that is a valid window), or null when there is none.
  HWND FindRunningWindow() const;
};
