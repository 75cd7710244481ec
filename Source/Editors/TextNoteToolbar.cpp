// The toolbar's buttons and sizes are tables; the boxes sit on the toolbar
// itself, to the right of its buttons.
#include "Editors/TextNoteToolbar.h"

#include <iterator>

#include "Library/CWinApp.h"
#include "Resources/TextNoteEditorIds.h"

namespace {

constexpr DWORD kRebarStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_BORDER |
                              RBS_VARHEIGHT | RBS_BANDBORDERS | CCS_NODIVIDER;
constexpr DWORD kToolbarStyle = WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TRANSPARENT | TBSTYLE_TOOLTIPS |
                                CCS_NODIVIDER | CCS_NORESIZE;
constexpr DWORD kFaceStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWN | CBS_SORT | CBS_AUTOHSCROLL;
constexpr DWORD kSizeStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL;
constexpr int kToolbarWidth = 200;
constexpr int kToolbarHeight = 31;
constexpr int kButtonWidth = 28;
constexpr int kFaceX = 230;
constexpr int kFaceWidth = 150;
constexpr int kFaceListHeight = 250;
constexpr int kSizeX = 410;
constexpr int kSizeWidth = 90;
constexpr int kSizeListHeight = 200;
constexpr int kBoxGap = kSizeX - kFaceX - kFaceWidth;
constexpr int kImageCapacity = 25;
constexpr COLORREF kTransparent = RGB(0xFF, 0x00, 0xFF);

struct FormatButton {
  int image;  // -1: a separator
  int command;
  BYTE style;
  const char* tooltip;
};

const FormatButton kButtons[] = {
    {17, IDM_TEXT_BOLD, TBSTYLE_CHECK, "Bold."},
    {18, IDM_TEXT_ITALIC, TBSTYLE_CHECK, "Italic."},
    {19, IDM_TEXT_UNDERLINE, TBSTYLE_CHECK, "Underline."},
    {20, IDM_TEXT_COLOR, TBSTYLE_BUTTON, "Color."},
    {21, IDM_TEXT_LEFT, TBSTYLE_BUTTON, "Left Align."},
    {22, IDM_TEXT_CENTER, TBSTYLE_BUTTON, "Center Align."},
    {23, IDM_TEXT_RIGHT, TBSTYLE_BUTTON, "Right Align."},
    {24, IDM_TEXT_BULLET, TBSTYLE_BUTTON, "Bullet."},
    {-1, 0, TBSTYLE_SEP, nullptr},
    {3, IDM_TEXT_PRINT, TBSTYLE_BUTTON, "Print Note."},
};

// Sizes in points; each entry carries its size less 10 as item data.
const int kPointSizes[] = {10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};

// A face comes once for each of its character sets and styles; the list
// shows it once.
int CALLBACK AddFace(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM box) {
  const CComboBox& faces = *reinterpret_cast<const CComboBox*>(box);
  if (faces.FindStringExact(font->lfFaceName) == CB_ERR) faces.AddString(font->lfFaceName);
  return 1;  // to the end of the enumeration
}

void SetPressed(const CToolbar& toolbar, int command, bool pressed) {
  toolbar.Send(TB_CHECKBUTTON, command, MAKELONG(pressed ? TRUE : FALSE, 0));
}

// Replaces the text of a drop-down box's edit field without choosing an
// entry.
void SetEditText(const CComboBox& box, const char* text) {
  box.Send(CB_SETCURSEL, static_cast<WPARAM>(-1));
  box.SetText(text);
}

}  // namespace

bool CTextNoteToolbar::Create(HWND dialog) {
  if (!m_rebar.Create(dialog, IDC_TEXT_NOTE_REBAR, WS_EX_TOOLWINDOW, kRebarStyle, 0, 0, 0, 0)) return false;
  m_images.Create(16, 16, ILC_COLOR24 | ILC_MASK, kImageCapacity, 0);
  HBITMAP strip = static_cast<HBITMAP>(LoadImageA(gApp.GetResourceInstance(), MAKEINTRESOURCEA(IDB_TEXT_NOTE_TOOLBAR),
                                                  IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (strip != nullptr) {
    m_images.AddMasked(strip, kTransparent);
    DeleteObject(strip);
  }
  if (!m_toolbar.Create(m_rebar.GetWindow(), IDC_TEXT_NOTE_TOOLBAR, 0, kToolbarStyle, 0, 3, kToolbarWidth,
                        kToolbarHeight))
    return false;
  m_toolbar.SetButtonStructSize(sizeof(TBBUTTON));
  m_toolbar.SetButtonWidth(kButtonWidth, kButtonWidth);
  m_toolbar.SetImageList(m_images.GetHandle());
  int position = 0;
  for (const FormatButton& entry : kButtons) {
    TBBUTTON button = {};
    button.iBitmap = entry.image < 0 ? 0 : entry.image;
    button.idCommand = entry.command;
    button.fsState = TBSTATE_ENABLED;
    button.fsStyle = entry.style;
    button.iString = -1;
    m_toolbar.InsertButton(position++, &button);
  }

  // The boxes start right of the last button, should the buttons reach
  // further than the place the boxes were given.
  RECT last = {};
  m_toolbar.Send(TB_GETITEMRECT, std::size(kButtons) - 1, reinterpret_cast<LPARAM>(&last));
  const int faceX = last.right + 4 > kFaceX ? last.right + 4 : kFaceX;
  const HFONT font = static_cast<HFONT>(GetStockObject(ANSI_VAR_FONT));
  if (!m_face.Create(m_toolbar.GetWindow(), IDC_TEXT_NOTE_FACE, 0, kFaceStyle, faceX, 1, kFaceWidth,
                     kFaceListHeight))
    return false;
  m_face.SetCurSel(0);
  FillFaces(dialog);
  if (!m_size.Create(m_toolbar.GetWindow(), IDC_TEXT_NOTE_SIZE, 0, kSizeStyle, faceX + kFaceWidth + kBoxGap, 1,
                     kSizeWidth, kSizeListHeight))
    return false;
  FillSizes();
  m_size.SetCurSel(0);
  m_face.SetFont(font);
  m_size.SetFont(font);

  return m_rebar.AppendToolbarBand(m_toolbar.GetWindow(), kToolbarWidth) != FALSE;
}

void CTextNoteToolbar::FillFaces(HWND dialog) const {
  HDC context = GetDC(dialog);
  if (context == nullptr) return;
  EnumFontsA(context, nullptr, AddFace, reinterpret_cast<LPARAM>(&m_face));
  ReleaseDC(dialog, context);
}

void CTextNoteToolbar::FillSizes() const {
  for (int points : kPointSizes) {
    char text[8];
    wsprintfA(text, "%d", points);
    const int index = m_size.AddString(text);
    if (index >= 0) m_size.Send(CB_SETITEMDATA, index, points - 10);
  }
}

void CTextNoteToolbar::Show(const SelectionFormat& format) const {
  SetPressed(m_toolbar, IDM_TEXT_BOLD, format.bold);
  SetPressed(m_toolbar, IDM_TEXT_ITALIC, format.italic);
  SetPressed(m_toolbar, IDM_TEXT_UNDERLINE, format.underline);
  SetPressed(m_toolbar, IDM_TEXT_LEFT, format.alignment == PFA_LEFT);
  SetPressed(m_toolbar, IDM_TEXT_CENTER, format.alignment == PFA_CENTER);
  SetPressed(m_toolbar, IDM_TEXT_RIGHT, format.alignment == PFA_RIGHT);
  SetPressed(m_toolbar, IDM_TEXT_BULLET, format.bullet);
  SetEditText(m_face, format.face.c_str());
  char points[16];
  wsprintfA(points, "%ld", format.heightTwips / 20);
  SetEditText(m_size, points);
}

LONG CTextNoteToolbar::ChosenHeightTwips() const {
  const int index = m_size.GetCurSel();
  if (index < 0) return 0;
  return static_cast<LONG>(m_size.Send(CB_GETITEMDATA, index)) * 20 + 200;
}

std::string CTextNoteToolbar::ChosenFace() const {
  const int index = m_face.GetCurSel();
  if (index < 0) return std::string();
  CString text;
  m_face.GetItemText(index, text);
  return text.GetString();
}

void CTextNoteToolbar::Resize(WPARAM sizeType, LPARAM size) const {
  m_rebar.Send(WM_SIZE, sizeType, size);
}

void CTextNoteToolbar::Destroy() {
  m_images.Destroy();
}

const char* CTextNoteToolbar::TooltipOf(UINT_PTR command) {
  for (const FormatButton& entry : kButtons) {
    if (entry.tooltip != nullptr && static_cast<UINT_PTR>(entry.command) == command) return entry.tooltip;
  }
  return nullptr;
}

void CTextNoteToolbar::SupplyTooltip(NMHDR* request) {
  // A tool named by its window handle has no command id.
  if (request->code == TTN_NEEDTEXTW) {
    auto* wide = reinterpret_cast<NMTTDISPINFOW*>(request);
    const char* text = (wide->uFlags & TTF_IDISHWND) ? nullptr : TooltipOf(request->idFrom);
    if (text == nullptr) return;
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide->szText, static_cast<int>(std::size(wide->szText)));
    wide->lpszText = wide->szText;
  } else {
    auto* narrow = reinterpret_cast<NMTTDISPINFOA*>(request);
    const char* text = (narrow->uFlags & TTF_IDISHWND) ? nullptr : TooltipOf(request->idFrom);
    if (text == nullptr) return;
    narrow->lpszText = const_cast<char*>(text);
  }
}
