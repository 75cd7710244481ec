// CBaseControl: attach, create and the messages every control understands.
#include "Library/CBaseControl.h"

#include "Library/CWinApp.h"

CBaseControl::CBaseControl(HWND parent, int id)
    : m_window(parent ? GetDlgItem(parent, id) : nullptr), m_parent(parent), m_id(id) {}

bool CBaseControl::CreateControl(const char* className, HWND parent, int id, DWORD exStyle, DWORD style,
                                 int x, int y, int width, int height) {
  m_parent = parent;
  m_id = id;
  m_window = CreateWindowExA(exStyle, className, nullptr, style, x, y, width, height, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), gApp.GetInstance(), nullptr);
  return m_window != nullptr;
}

LRESULT CBaseControl::Send(UINT message, WPARAM wParam, LPARAM lParam) const {
  if (!m_window) return 0;
  return SendMessageA(m_window, message, wParam, lParam);
}

BOOL CBaseControl::SetText(const char* text) const {
  return static_cast<BOOL>(Send(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)));
}

int CBaseControl::GetTextLength() const {
  return static_cast<int>(Send(WM_GETTEXTLENGTH));
}

int CBaseControl::GetText(CString& out) const {
  int length = GetTextLength();
  if (length <= 0) {
    out = CString("");
    return 0;
  }
  char* buffer = out.PrepareBuffer(length);
  int copied = static_cast<int>(Send(WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(buffer)));
  out.SetLength(copied);
  return copied;
}

BOOL CBaseControl::Enable(bool enable) const {
  return m_window ? EnableWindow(m_window, enable) : 0;
}

BOOL CBaseControl::Show(int showCommand) const {
  return m_window ? ShowWindow(m_window, showCommand) : 0;
}

BOOL CBaseControl::Move(int x, int y, int width, int height, bool repaint) const {
  return m_window ? MoveWindow(m_window, x, y, width, height, repaint) : 0;
}

void CBaseControl::SetFont(HFONT font, bool redraw) const {
  Send(WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw);
}
