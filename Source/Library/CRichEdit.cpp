// CRichEdit: one rich-edit message per operation.
#include "Library/CRichEdit.h"

bool LoadRichEditLibrary() {
  // Never freed: every rich edit of the process needs the class it registers.
  static HMODULE library = LoadLibraryA("RICHED20.DLL");
  return library != nullptr;
}

bool CRichEdit::Create(HWND parent, int id, DWORD exStyle, DWORD style, int x, int y, int width, int height) {
  LoadRichEditLibrary();
  return CreateControl(kClassName, parent, id, exStyle, style, x, y, width, height);
}

void CRichEdit::ReplaceSelection(const char* text, bool canUndo) const {
  Send(EM_REPLACESEL, canUndo, reinterpret_cast<LPARAM>(text));
}

int CRichEdit::SetSelection(int start, int end) const {
  CHARRANGE range = {start, end};
  return static_cast<int>(Send(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range)));
}

void CRichEdit::GetSelection(int* start, int* end) const {
  CHARRANGE range = {0, 0};
  Send(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
  if (start) *start = range.cpMin;
  if (end) *end = range.cpMax;
}

void CRichEdit::LimitText(int characters) const {
  Send(EM_EXLIMITTEXT, 0, characters);
}

BOOL CRichEdit::SetReadOnly(bool readOnly) const {
  return static_cast<BOOL>(Send(EM_SETREADONLY, readOnly));
}

BOOL CRichEdit::GetModify() const {
  return static_cast<BOOL>(Send(EM_GETMODIFY));
}

void CRichEdit::SetModify(bool modified) const {
  Send(EM_SETMODIFY, modified);
}

DWORD CRichEdit::SetEventMask(DWORD mask) const {
  return static_cast<DWORD>(Send(EM_SETEVENTMASK, 0, mask));
}

BOOL CRichEdit::SetCharFormat(UINT scope, const CHARFORMAT2A* format) const {
  return static_cast<BOOL>(Send(EM_SETCHARFORMAT, scope, reinterpret_cast<LPARAM>(format)));
}

DWORD CRichEdit::GetCharFormat(UINT scope, CHARFORMAT2A* format) const {
  return static_cast<DWORD>(Send(EM_GETCHARFORMAT, scope, reinterpret_cast<LPARAM>(format)));
}

COLORREF CRichEdit::SetBackgroundColor(COLORREF color) const {
  return static_cast<COLORREF>(Send(EM_SETBKGNDCOLOR, 0, color));
}

LRESULT CRichEdit::StreamIn(UINT format, EDITSTREAM* stream) const {
  return Send(EM_STREAMIN, format, reinterpret_cast<LPARAM>(stream));
}

LRESULT CRichEdit::StreamOut(UINT format, EDITSTREAM* stream) const {
  return Send(EM_STREAMOUT, format, reinterpret_cast<LPARAM>(stream));
}

BOOL CRichEdit::SetParaFormat(const PARAFORMAT2* format) const {
  return static_cast<BOOL>(Send(EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(format)));
}

DWORD CRichEdit::GetParaFormat(PARAFORMAT2* format) const {
  return static_cast<DWORD>(Send(EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(format)));
}

int CRichEdit::GetTextLengthChars() const {
  GETTEXTLENGTHEX request = {GTL_NUMCHARS | GTL_PRECISE, CP_ACP};
  return static_cast<int>(Send(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&request)));
}

LRESULT CRichEdit::FormatRange(bool render, FORMATRANGE* range) const {
  return Send(EM_FORMATRANGE, render, reinterpret_cast<LPARAM>(range));
}

BOOL CRichEdit::DisplayBand(RECT* rectangle) const {
  return static_cast<BOOL>(Send(EM_DISPLAYBAND, 0, reinterpret_cast<LPARAM>(rectangle)));
}
