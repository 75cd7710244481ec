// CBaseControl: the common base of the control wrappers. A wrapper is a
// window handle with its parent and control id; it never owns the window
// (the platform destroys children with their parent). Operations are single
// platform messages and return what the message returns; without a window
// they reach nothing and return 0.
#pragma once

#include "Library/CString.h"

#include <windows.h>

class CBaseControl {
 public:
  CBaseControl() : m_window(nullptr), m_parent(nullptr), m_id(0) {}
  // Attach: the parent's child with this id, which may be none.
  CBaseControl(HWND parent, int id);
  virtual ~CBaseControl() {}

  HWND GetWindow() const { return m_window; }
  HWND GetParent() const { return m_parent; }
  int GetId() const { return m_id; }
  bool HasWindow() const { return m_window != nullptr; }

  // Sends one message to the control; 0 when there is no window.
  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

  BOOL SetText(const char* text) const;
  int GetTextLength() const;
  // The control's text into out; returns its length.
  int GetText(CString& out) const;
  BOOL Enable(bool enable) const;
  BOOL Show(int showCommand) const;
  BOOL Move(int x, int y, int width, int height, bool repaint = true) const;
  void SetFont(HFONT font, bool redraw = true) const;

 protected:
  // Create: a child of parent with the wrapper's class name, no title, the
  // id as child id and the application's instance. Returns whether a
  // window was made; the wrapper keeps the handle (none on failure).
  bool CreateControl(const char* className, HWND parent, int id, DWORD exStyle, DWORD style, int x, int y,
                     int width, int height);

  HWND m_window;
  HWND m_parent;
  int m_id;
};
