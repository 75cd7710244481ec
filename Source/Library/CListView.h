// CListView: wrapper of a list view ("SysListView32") with the column and item
// operations the record and manager lists use. Item parameters carry record
// addresses.
#pragma once

#include "Library/CBaseControl.h"

#include <commctrl.h>

class CListView : public CBaseControl {
 public:
  static constexpr const char* kClassName = "SysListView32";

  CListView() {}
  CListView(HWND parent, int id) : CBaseControl(parent, id) {}
  bool Create(HWND parent, int id, DWORD exStyle, DWORD style, int x, int y, int width, int height);

  // Left-aligned by default; returns the new column's index or -1.
  int InsertColumn(int index, const char* title, int width, int format = LVCFMT_LEFT) const;
  BOOL DeleteColumn(int index) const;

  // Returns the new item's index or -1. An image of -1 shows none.
  int InsertItem(int index, const char* text, int image, LPARAM param) const;
  BOOL SetItemText(int item, int subItem, const char* text) const;
  // The text of a cell into out; returns its length.
  int GetItemText(int item, int subItem, CString& out) const;
  LPARAM GetItemParam(int item) const;
  BOOL SetItemState(int item, UINT state, UINT mask) const;
  UINT GetItemState(int item, UINT mask) const;
  BOOL DeleteItem(int item) const;
  BOOL DeleteAllItems() const;
  int GetItemCount() const;
  int GetSelectedCount() const;

  // The next item after start (-1: from the beginning) with the flags, or -1.
  int GetNextItem(int start, UINT flags) const;
  int GetNextSelected(int after) const { return GetNextItem(after, LVNI_SELECTED); }
  int GetFocusedItem() const { return GetNextItem(-1, LVNI_FOCUSED); }
  // The item whose parameter is param, or -1 (one message: the control searches).
  int FindItemByParam(LPARAM param) const;
  BOOL EnsureVisible(int item, bool partialOk) const;

  // type LVSIL_NORMAL or LVSIL_SMALL; returns the previous list.
  HIMAGELIST SetImageList(HIMAGELIST list, int type) const;
  // Sets the extended list-view style bits (all of them); returns the old ones.
  DWORD SetExtendedStyle(DWORD style) const;
};
