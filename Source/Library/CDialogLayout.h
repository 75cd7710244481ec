// CDialogLayout: keeps the controls of a resizable dialog in place as the
// user sizes it. Each control follows the dialog's right and bottom edges
// with the edges it is given: moved (its left or top edge follows), or grown
// (its right or bottom edge follows); a control given nothing stays where
// the template put it. The dialog cannot be made smaller than its template,
// the size at which everything is known to fit.
//
//   layout.Attach(dialog);                       // in WM_INITDIALOG, before any resize
//   layout.Add(IDC_LIST, CDialogLayout::kGrowX | CDialogLayout::kGrowY);
//   layout.Add(IDOK, CDialogLayout::kMoveX | CDialogLayout::kMoveY);
//   WM_SIZE: layout.Apply();   WM_GETMINMAXINFO: layout.LimitTracking(info);
#pragma once

#include <windows.h>

#include <vector>

class CDialogLayout {
 public:
  enum : unsigned { kMoveX = 1, kMoveY = 2, kGrowX = 4, kGrowY = 8 };

  // Takes the dialog's client size now as the one the controls were laid
  // out for, and its window size as the smallest it may be made.
  void Attach(HWND dialog);
  void Add(int id, unsigned edges);
  void Add(HWND control, unsigned edges);

  // Places every control for the dialog's client size now.
  void Apply() const;
  // For WM_GETMINMAXINFO.
  void LimitTracking(MINMAXINFO* info) const;
  SIZE MinimumSize() const { return m_minimum; }

 private:
  struct Item {
    HWND control;
    RECT start;  // in the dialog's client coordinates, at Attach's size
    unsigned edges;
  };

  HWND m_dialog = nullptr;
  SIZE m_start = {0, 0};
  SIZE m_minimum = {0, 0};
  std::vector<Item> m_items;
};
