// CComboBox: one combo-box message per operation.
#include "Library/CComboBox.h"

bool CComboBox::Create(HWND parent, int id, DWORD exStyle, DWORD style, int x, int y, int width, int height) {
  return CreateControl(kClassName, parent, id, exStyle, style, x, y, width, height);
}

int CComboBox::AddString(const char* text) const {
  return static_cast<int>(Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
}

int CComboBox::GetCount() const {
  return static_cast<int>(Send(CB_GETCOUNT));
}

int CComboBox::GetCurSel() const {
  return static_cast<int>(Send(CB_GETCURSEL));
}

int CComboBox::SetCurSel(int index) const {
  return static_cast<int>(Send(CB_SETCURSEL, index));
}

void CComboBox::ResetContent() const {
  Send(CB_RESETCONTENT);
}

int CComboBox::GetItemText(int index, CString& out) const {
  int length = static_cast<int>(Send(CB_GETLBTEXTLEN, index));
  if (length <= 0) {
    out = CString("");
    return 0;
  }
  int copied =
      static_cast<int>(Send(CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(out.PrepareBuffer(length))));
  out.SetLength(copied < 0 ? 0 : copied);
  return out.GetLength();
}

int CComboBox::FindStringExact(const char* text, int after) const {
  return static_cast<int>(Send(CB_FINDSTRINGEXACT, after, reinterpret_cast<LPARAM>(text)));
}

BOOL CComboBox::LimitText(int characters) const {
  return static_cast<BOOL>(Send(CB_LIMITTEXT, characters));
}
