// WindowCreateDef: every argument of CreateWindowEx in one record with the
// program's defaults, two builders for the usual shapes, and creation that
// throws the toolkit's creation text on failure.
#pragma once

#include <windows.h>

struct WindowCreateDef {
  DWORD exStyle = 0;
  const char* className = nullptr;
  const char* title = nullptr;
  DWORD style = 0x800;
  int x = CW_USEDEFAULT;
  int y = 0;
  int width = CW_USEDEFAULT;
  int height = 0;
  HWND parent = nullptr;
  HMENU menu = nullptr;
  HINSTANCE instance = nullptr;
  void* parameter = nullptr;
  HWND window = nullptr;

  // A visible overlapped window with a title.
  static WindowCreateDef TopLevel(const char* title, const char* className, HINSTANCE instance);
  // A child (WS_CHILD only) of parent with the child id, in the parent's instance.
  static WindowCreateDef Child(const char* className, HWND parent, int childId);

  // Creates the window and keeps its handle in window; throws
  // ToolkitErrors::kWindowCreationFailed when the platform refuses.
  HWND Create();
  // ShowWindow with the command, then UpdateWindow.
  void Show(int showCommand) const;
};
