// WindowClassDef: defaults, registration and the search for a running window.
#include "Library/WindowClassDef.h"

#include "Library/ToolkitErrors.h"

WindowClassDef::WindowClassDef(WNDPROC procedure, const char* className, HINSTANCE instance) : WNDCLASSEXA() {
  cbSize = sizeof(WNDCLASSEXA);
  style = 0;
  lpfnWndProc = procedure;
  cbClsExtra = 0;
  cbWndExtra = 0;
  hInstance = instance;
  hIcon = nullptr;
  hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
  lpszMenuName = nullptr;
  lpszClassName = className;
  hIconSm = nullptr;
}

WindowClassDef::WindowClassDef(WNDPROC procedure, const char* className, HINSTANCE instance, int iconId,
                               int menuId)
    : WindowClassDef(procedure, className, instance) {
  hIcon = LoadIconA(instance, MAKEINTRESOURCEA(iconId));
  hIconSm =
      static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(iconId), IMAGE_ICON,
                                    GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  lpszMenuName = MAKEINTRESOURCEA(menuId);
}

ATOM WindowClassDef::Register() const {
  ATOM atom = RegisterClassExA(this);
  if (!atom) throw ToolkitErrors::kRegisterClassFailed;
  return atom;
}

HWND WindowClassDef::FindRunningWindow() const {
  HWND window = FindWindowA(lpszClassName, nullptr);
  if (!window || !IsWindow(window)) return nullptr;
  HWND popup = GetLastActivePopup(window);
  return (popup && IsWindow(popup)) ? popup : window;
}
