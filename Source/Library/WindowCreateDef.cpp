// WindowCreateDef: the builders and the checked creation.
#include "Library/WindowCreateDef.h"

#include "Library/ToolkitErrors.h"

namespace {
// WS_VISIBLE | WS_OVERLAPPEDWINDOW with 0x0800 in the low word.
const DWORD kTopLevelStyle = 0x10CF0800;
}  // namespace

WindowCreateDef WindowCreateDef::TopLevel(const char* title, const char* className, HINSTANCE instance) {
  WindowCreateDef def;
  def.style = kTopLevelStyle;
  def.title = title;
  def.className = className;
  def.instance = instance;
  return def;
}

WindowCreateDef WindowCreateDef::Child(const char* className, HWND parent, int childId) {
  WindowCreateDef def;
  def.className = className;
  def.style = WS_CHILD;
  def.parent = parent;
  def.menu = reinterpret_cast<HMENU>(static_cast<INT_PTR>(childId));
  def.instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE));
  return def;
}

HWND WindowCreateDef::Create() {
  window = CreateWindowExA(exStyle, className, title, style, x, y, width, height, parent, menu, instance,
                           parameter);
  if (!window) throw ToolkitErrors::kWindowCreationFailed;
  return window;
}

void WindowCreateDef::Show(int showCommand) const {
  ShowWindow(window, showCommand);
  UpdateWindow(window);
}
