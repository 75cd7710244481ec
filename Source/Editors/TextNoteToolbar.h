// CTextNoteToolbar: the formatting bar along the top of the text note
// editor: a rebar (1030) with one band holding a flat toolbar (1031) of ten
// buttons, and on the toolbar the font face box (1032) and the font size box
// (1033). It shows the selection's format (pressed buttons, face and size)
// and gives the buttons' tooltips. The image list is the bar's own and is
// destroyed with it (Destroy, called when the dialog window goes).
#ifndef QUILLMATE_EDITORS_TEXTNOTETOOLBAR_H
#define QUILLMATE_EDITORS_TEXTNOTETOOLBAR_H

#include <windows.h>
#include <commctrl.h>

#include "Editors/RichTextFormat.h"
#include "Library/CComboBox.h"
#include "Library/CImageList.h"
#include "Library/CRebar.h"
#include "Library/CToolbar.h"

class CTextNoteToolbar {
 public:
  CTextNoteToolbar() = default;
  CTextNoteToolbar(const CTextNoteToolbar&) = delete;
  CTextNoteToolbar& operator=(const CTextNoteToolbar&) = delete;

  // Creates the bars on dialog, fills the face box with the fonts of the
  // dialog's device context and the size box with its fourteen sizes.
  // False when a window could not be made.
  bool Create(HWND dialog);
  // Presses the buttons that match format and writes its face and size
  // into the boxes' edit fields.
  void Show(const SelectionFormat& format) const;
  // The size chosen in the size box, in twips; 0 when none is chosen.
  LONG ChosenHeightTwips() const;
  // The face chosen in the face box; empty when none is chosen.
  std::string ChosenFace() const;
  // The new dialog width goes to the rebar, which fits its band to it.
  void Resize(WPARAM sizeType, LPARAM size) const;
  void Destroy();

  // The tooltip of a toolbar command, or null.
  static const char* TooltipOf(UINT_PTR command);
  // Answers a tooltip text request of the toolbar (TTN_NEEDTEXTA/W).
  static void SupplyTooltip(NMHDR* request);

  const CToolbar& Toolbar() const { return m_toolbar; }

 private:
  void FillFaces(HWND dialog) const;
  void FillSizes() const;

  CRebar m_rebar;
  CToolbar m_toolbar;
  CComboBox m_face;
  CComboBox m_size;
  CImageList m_images;
};

#endif  // QUILLMATE_EDITORS_TEXTNOTETOOLBAR_H
