// Each command reads the format it changes first, so that only what it
// changes is in the mask it writes back.
#include "Editors/RichTextFormat.h"

#include <cstring>

namespace {

constexpr UINT kCharScope = SCF_SELECTION | SCF_WORD;
constexpr WORD kBulletOffsetTwips = 4;

CHARFORMAT2A ReadCharFormat(const CRichEdit& body) {
  CHARFORMAT2A format = {};
  format.cbSize = sizeof(format);
  body.GetCharFormat(SCF_SELECTION, &format);
  return format;
}

PARAFORMAT2 ReadParaFormat(const CRichEdit& body) {
  PARAFORMAT2 format = {};
  format.cbSize = sizeof(format);
  body.GetParaFormat(&format);
  return format;
}

void WriteCharFormat(const CRichEdit& body, CHARFORMAT2A format, DWORD mask) {
  format.cbSize = sizeof(format);
  format.dwMask = mask;
  body.SetCharFormat(kCharScope, &format);
}

}  // namespace

SelectionFormat ReadSelectionFormat(const CRichEdit& body) {
  const CHARFORMAT2A character = ReadCharFormat(body);
  const PARAFORMAT2 paragraph = ReadParaFormat(body);
  SelectionFormat shown;
  shown.bold = (character.dwEffects & CFE_BOLD) != 0;
  shown.italic = (character.dwEffects & CFE_ITALIC) != 0;
  shown.underline = (character.dwEffects & CFE_UNDERLINE) != 0;
  shown.alignment = paragraph.wAlignment;
  shown.bullet = paragraph.wNumbering == PFN_BULLET;
  shown.face = character.szFaceName;
  shown.heightTwips = character.yHeight;
  return shown;
}

void SetDefaultCharFormat(const CRichEdit& body) {
  CHARFORMAT2A format = {};
  std::strcpy(format.szFaceName, "Arial");
  format.yHeight = 200;
  format.dwEffects = CFE_AUTOCOLOR;
  WriteCharFormat(body, format, CFM_FACE | CFM_SIZE | CFM_COLOR);
}

void ToggleCharEffect(const CRichEdit& body, DWORD effect) {
  CHARFORMAT2A format = ReadCharFormat(body);
  format.dwEffects ^= effect;
  // For bold, italic and underline the mask bit and the effect bit are the
  // same value.
  WriteCharFormat(body, format, effect);
}

void SetTextColour(const CRichEdit& body, COLORREF colour) {
  CHARFORMAT2A format = ReadCharFormat(body);
  format.crTextColor = colour;
  format.dwEffects &= ~CFE_AUTOCOLOR;
  WriteCharFormat(body, format, CFM_COLOR);
}

void SetFaceName(const CRichEdit& body, const std::string& face) {
  CHARFORMAT2A format = ReadCharFormat(body);
  // A face name longer than the field could ever name no font: cut, ended.
  std::strncpy(format.szFaceName, face.c_str(), LF_FACESIZE - 1);
  format.szFaceName[LF_FACESIZE - 1] = '\0';
  WriteCharFormat(body, format, format.dwMask | CFM_FACE);
}

void SetHeightTwips(const CRichEdit& body, LONG twips) {
  CHARFORMAT2A format = ReadCharFormat(body);
  format.yHeight = twips;
  WriteCharFormat(body, format, format.dwMask | CFM_SIZE);
}

void SetAlignment(const CRichEdit& body, WORD alignment) {
  PARAFORMAT2 format = {};
  format.cbSize = sizeof(format);
  format.dwMask = PFM_ALIGNMENT;
  format.wAlignment = alignment;
  body.SetParaFormat(&format);
}

void ToggleBullet(const CRichEdit& body) {
  PARAFORMAT2 format = ReadParaFormat(body);
  const bool bulleted = (format.dwMask & PFM_NUMBERING) && format.wNumbering == PFN_BULLET;
  format.cbSize = sizeof(format);
  if (bulleted) {
    format.dwMask = PFM_STARTINDENT | PFM_OFFSET | PFM_NUMBERING;
    format.wNumbering = 0;
    format.dxStartIndent = 0;
    format.dxOffset = 0;
  } else {
    format.wNumbering = PFN_BULLET;
    format.dwMask = PFM_NUMBERING;
    if (format.dxOffset == 0) {
      format.dxOffset = kBulletOffsetTwips;
      format.dwMask = PFM_STARTINDENT | PFM_OFFSET | PFM_NUMBERING;
    }
  }
  body.SetParaFormat(&format);
}
