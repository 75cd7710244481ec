// CRichEdit: wrapper of a rich edit 2.0 control ("RichEdit20A" of
// RICHED20.DLL, which LoadRichEditLibrary loads before the first is created).
#pragma once

#include "Library/CBaseControl.h"

#include <richedit.h>

// Loads RICHED20.DLL the first time a rich edit is about to be made and keeps
// it for the life of the process (a start that opens no text note never
// pays for it). False when the library cannot be loaded.
bool LoadRichEditLibrary();

class CRichEdit : public CBaseControl {
 public:
  static constexpr const char* kClassName = "RichEdit20A";

  CRichEdit() {}
  CRichEdit(HWND parent, int id) : CBaseControl(parent, id) {}
  bool Create(HWND parent, int id, DWORD exStyle, DWORD style, int x, int y, int width, int height);

  // Text itself goes through SetText/GetText of the base.
  void ReplaceSelection(const char* text, bool canUndo = true) const;
  // Selects characters start to end (end -1: to the end); returns the end.
  int SetSelection(int start, int end) const;
  void GetSelection(int* start, int* end) const;
  void LimitText(int characters) const;
  BOOL SetReadOnly(bool readOnly) const;
  BOOL GetModify() const;
  void SetModify(bool modified) const;
  // Returns the previous event mask.
  DWORD SetEventMask(DWORD mask) const;
  BOOL SetCharFormat(UINT scope, const CHARFORMAT2A* format) const;
  DWORD GetCharFormat(UINT scope, CHARFORMAT2A* format) const;
  // Paragraph formats act on the paragraphs of the selection.
  BOOL SetParaFormat(const PARAFORMAT2* format) const;
  DWORD GetParaFormat(PARAFORMAT2* format) const;
  // Characters of the text, a paragraph break counting one (as character
  // positions do).
  int GetTextLengthChars() const;
  // EM_FORMATRANGE: returns the index after the last character that fit;
  // a null range releases the control's cached format data.
  LRESULT FormatRange(bool render, FORMATRANGE* range) const;
  BOOL DisplayBand(RECT* rectangle) const;
  COLORREF SetBackgroundColor(COLORREF color) const;
  // format SF_RTF or SF_TEXT; returns the number of characters streamed.
  LRESULT StreamIn(UINT format, EDITSTREAM* stream) const;
  LRESULT StreamOut(UINT format, EDITSTREAM* stream) const;
};
