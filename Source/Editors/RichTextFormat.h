// The formatting commands of the text note editor, each acting on the
// selection of a rich edit body, and the reading of the selection's format
// that the toolbar shows. Character formats are written with the selection
// and word scopes together, so that with nothing selected the word at the
// insertion point takes the format; paragraph formats act on the paragraphs
// of the selection.
#ifndef QUILLMATE_EDITORS_RICHTEXTFORMAT_H
#define QUILLMATE_EDITORS_RICHTEXTFORMAT_H

#include <windows.h>

#include <string>

#include "Library/CRichEdit.h"

// What the toolbar shows of the selection.
struct SelectionFormat {
  bool bold = false;
  bool italic = false;
  bool underline = false;
  WORD alignment = PFA_LEFT;
  bool bullet = false;
  std::string face;
  LONG heightTwips = 0;
};

SelectionFormat ReadSelectionFormat(const CRichEdit& body);

// "Arial", 10 points (200 twips), automatic colour, on the selection.
void SetDefaultCharFormat(const CRichEdit& body);

// Clears effect (CFE_BOLD, CFE_ITALIC or CFE_UNDERLINE) when the selection
// has it, else sets it; only that effect is written.
void ToggleCharEffect(const CRichEdit& body, DWORD effect);
// The text colour, automatic colour switched off.
void SetTextColour(const CRichEdit& body, COLORREF colour);
void SetFaceName(const CRichEdit& body, const std::string& face);
void SetHeightTwips(const CRichEdit& body, LONG twips);
// PFA_LEFT, PFA_CENTER or PFA_RIGHT.
void SetAlignment(const CRichEdit& body, WORD alignment);
// A bulleted selection loses its bullets and gets start indent and hanging
// offset 0; otherwise the paragraphs get bullets, and a hanging offset of 4
// twips when they had none.
void ToggleBullet(const CRichEdit& body);

#endif  // QUILLMATE_EDITORS_RICHTEXTFORMAT_H
