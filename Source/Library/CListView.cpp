// CListView: one list-view message per operation.
#include "Library/CListView.h"

bool CListView::Create(HWND parent, int id, DWORD exStyle, DWORD style, int x, int y, int width, int height) {
  return CreateControl(kClassName, parent, id, exStyle, style, x, y, width, height);
}

int CListView::InsertColumn(int index, const char* title, int width, int format) const {
  LVCOLUMNA column = {};
  column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
  column.fmt = format;
  column.cx = width;
  column.pszText = const_cast<char*>(title);
  column.iSubItem = index;
  return static_cast<int>(Send(LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(&column)));
}

BOOL CListView::DeleteColumn(int index) const {
  return static_cast<BOOL>(Send(LVM_DELETECOLUMN, index));
}

int CListView::InsertItem(int index, const char* text, int image, LPARAM param) const {
  LVITEMA item = {};
  item.mask = LVIF_TEXT | LVIF_PARAM | (image >= 0 ? LVIF_IMAGE : 0);
  item.iItem = index;
  item.pszText = const_cast<char*>(text);
  item.iImage = image;
  item.lParam = param;
  return static_cast<int>(Send(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

BOOL CListView::SetItemText(int item, int subItem, const char* text) const {
  LVITEMA cell = {};
  cell.iSubItem = subItem;
  cell.pszText = const_cast<char*>(text);
  return static_cast<BOOL>(Send(LVM_SETITEMTEXTA, item, reinterpret_cast<LPARAM>(&cell)));
}

int CListView::GetItemText(int item, int subItem, CString& out) const {
  // The control tells only how much it copied: grow until the text fits.
  int room = 256;
  for (;;) {
    LVITEMA cell = {};
    cell.iSubItem = subItem;
    cell.cchTextMax = room;
    cell.pszText = out.PrepareBuffer(room - 1);
    int copied = static_cast<int>(Send(LVM_GETITEMTEXTA, item, reinterpret_cast<LPARAM>(&cell)));
    if (copied < room - 1 || !HasWindow()) {
      if (copied < 0) copied = 0;
      out.SetLength(copied);
      return copied;
    }
    room *= 2;
  }
}

LPARAM CListView::GetItemParam(int item) const {
  LVITEMA query = {};
  query.mask = LVIF_PARAM;
  query.iItem = item;
  if (!Send(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query))) return 0;
  return query.lParam;
}

BOOL CListView::SetItemState(int item, UINT state, UINT mask) const {
  LVITEMA change = {};
  change.state = state;
  change.stateMask = mask;
  return static_cast<BOOL>(Send(LVM_SETITEMSTATE, item, reinterpret_cast<LPARAM>(&change)));
}

UINT CListView::GetItemState(int item, UINT mask) const {
  return static_cast<UINT>(Send(LVM_GETITEMSTATE, item, mask));
}

BOOL CListView::DeleteItem(int item) const {
  return static_cast<BOOL>(Send(LVM_DELETEITEM, item));
}

BOOL CListView::DeleteAllItems() const {
  return static_cast<BOOL>(Send(LVM_DELETEALLITEMS));
}

int CListView::GetItemCount() const {
  return static_cast<int>(Send(LVM_GETITEMCOUNT));
}

int CListView::GetSelectedCount() const {
  return static_cast<int>(Send(LVM_GETSELECTEDCOUNT));
}

int CListView::GetNextItem(int start, UINT flags) const {
  return static_cast<int>(Send(LVM_GETNEXTITEM, start, MAKELPARAM(flags, 0)));
}

int CListView::FindItemByParam(LPARAM param) const {
  LVFINDINFOA find = {};
  find.flags = LVFI_PARAM;
  find.lParam = param;
  return static_cast<int>(Send(LVM_FINDITEMA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
}

BOOL CListView::EnsureVisible(int item, bool partialOk) const {
  return static_cast<BOOL>(Send(LVM_ENSUREVISIBLE, item, partialOk));
}

HIMAGELIST CListView::SetImageList(HIMAGELIST list, int type) const {
  return reinterpret_cast<HIMAGELIST>(Send(LVM_SETIMAGELIST, type, reinterpret_cast<LPARAM>(list)));
}

DWORD CListView::SetExtendedStyle(DWORD style) const {
  return static_cast<DWORD>(Send(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, style));
}
