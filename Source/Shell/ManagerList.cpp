// ManagerList and RecordList: the two panes of the splitter. The manager list
// is made in icon view, with the style it keeps.
#include "Shell/MainWindowControls.h"

#include "Library/CListView.h"
#include "Library/ListTypeAhead.h"
#include "Managers/RecordListRows.h"
#include "Resources/MainWindowIds.h"
#include "Shell/KindCommands.h"
#include "Shell/MainImageLists.h"

#include <algorithm>
#include <string>

namespace {

constexpr int kManagerIconSpacing = 108;
// What the list takes from an icon's spacing for the margins of its label.
constexpr int kLabelMargin = 20;

int TextWidth(HDC dc, const std::string& text) {
  SIZE size = {};
  GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
  return size.cx;
}

// The narrowest line in which name wraps into two lines at most: the list
// cuts a longer label short ("Internet Resource...") unless it is selected.
int TwoLineWidth(HDC dc, const std::string& name) {
  int narrowest = TextWidth(dc, name);
  for (std::size_t space = name.find(' '); space != std::string::npos; space = name.find(' ', space + 1)) {
    narrowest = std::min(
        narrowest, std::max(TextWidth(dc, name.substr(0, space)), TextWidth(dc, name.substr(space + 1))));
  }
  return narrowest;
}

// Wide enough that every manager's name shows whole in its label's font.
int ManagerIconSpacing(HWND managers) {
  HDC dc = GetDC(managers);
  const HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(managers, WM_GETFONT, 0, 0)));
  int widest = 0;
  for (int position = 0; position < kRecordKindCount; ++position) {
    widest = std::max(widest, TwoLineWidth(dc, KindCommandsAt(position)->managerName));
  }
  SelectObject(dc, oldFont);
  ReleaseDC(managers, dc);
  return std::max(kManagerIconSpacing, widest + kLabelMargin);
}

}  // namespace

HWND CreateManagerList(HWND window) {
  CListView managers;
  // One manager at a time, and its highlight stays when the focus moves to
  // the record list: it names the kind on display. The icons flow into as
  // many columns as the pane's width holds whenever it changes. Made in icon
  // view with this style, which it keeps: made in report view and switched,
  // it would build a header that is never shown (a window more to make at
  // every start) and lay itself out for each view.
  const DWORD iconStyle = WS_CHILD | WS_VISIBLE | LVS_ICON | LVS_SINGLESEL | LVS_SHOWSELALWAYS;
  if (!managers.Create(window, ID_MANAGER_LIST, WS_EX_CLIENTEDGE, iconStyle, 0, 0, 0, 0)) return nullptr;
  managers.SetImageList(CreateManagerImagesLarge(), LVSIL_NORMAL);
  managers.SetImageList(CreateManagerImagesSmall(), LVSIL_SMALL);
  // Every name whole in two lines of a label; the rows keep the height the
  // icons give them.
  const DWORD spacing = static_cast<DWORD>(managers.Send(LVM_GETITEMSPACING, FALSE));
  managers.Send(LVM_SETICONSPACING, 0, MAKELPARAM(ManagerIconSpacing(managers.GetWindow()), HIWORD(spacing)));
  return managers.GetWindow();
}

void FillManagerList(HWND window) {
  CListView managers(window, ID_MANAGER_LIST);
  const LONG iconStyle = GetWindowLongA(managers.GetWindow(), GWL_STYLE);
  // Arranged and laid out once, when all are in: with the style set before,
  // or drawing on, the list arranges every icon and works out its scroll
  // bars again for each one inserted.
  managers.Send(WM_SETREDRAW, FALSE);
  for (int position = 0; position < kRecordKindCount; ++position) {
    managers.InsertItem(position, KindCommandsAt(position)->managerName, position, 0);
  }
  SetWindowLongA(managers.GetWindow(), GWL_STYLE, iconStyle | LVS_AUTOARRANGE);
  managers.Send(WM_SETREDRAW, TRUE);
}

int ManagerListWidth(HWND managers, int columns) {
  const DWORD spacing = static_cast<DWORD>(SendMessageA(managers, LVM_GETITEMSPACING, FALSE, 0));
  // Room for a scroll bar too: a list laid out in fewer columns while it was
  // narrow keeps its bar, and must find the columns beside it.
  return columns * LOWORD(spacing) + GetSystemMetrics(SM_CXVSCROLL) + 2 * GetSystemMetrics(SM_CXEDGE);
}

namespace {
constexpr int kTitleColumn = 1;
}  // namespace

HWND CreateRecordList(HWND window, HWND managers, const RECT& place) {
  CListView records;
  // The selection stays visible while a question about it is open.
  if (!records.Create(window, ID_RECORD_LIST, WS_EX_CLIENTEDGE,
                      WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS, place.left, place.top,
                      place.right - place.left, place.bottom - place.top))
    return nullptr;
  // Next to the manager list in the order of the main window's children,
  // ahead of the bars made before it.
  SetWindowPos(records.GetWindow(), managers, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  records.SetExtendedStyle(LVS_EX_FULLROWSELECT);
  // Every kind's second column holds its titles (the names of e-mail
  // resources); without type-ahead there the list would search the dates.
  InstallListTypeAhead(records.GetWindow(), kTitleColumn, FindListedRowByPrefix);
  return records.GetWindow();
}
