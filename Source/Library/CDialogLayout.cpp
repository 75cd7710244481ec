#include "Library/CDialogLayout.h"

void CDialogLayout::Attach(HWND dialog) {
  m_dialog = dialog;
  m_items.clear();
  RECT client = {}, window = {};
  GetClientRect(dialog, &client);
  GetWindowRect(dialog, &window);
  m_start = {client.right, client.bottom};
  m_minimum = {window.right - window.left, window.bottom - window.top};
}

void CDialogLayout::Add(int id, unsigned edges) {
  Add(GetDlgItem(m_dialog, id), edges);
}

void CDialogLayout::Add(HWND control, unsigned edges) {
  if (control == nullptr) return;
  RECT rect = {};
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, m_dialog, reinterpret_cast<POINT*>(&rect), 2);
  m_items.push_back({control, rect, edges});
}

void CDialogLayout::Apply() const {
  if (m_dialog == nullptr || IsIconic(m_dialog)) return;
  RECT client = {};
  GetClientRect(m_dialog, &client);
  const int dx = client.right - m_start.cx, dy = client.bottom - m_start.cy;
  HDWP positions = BeginDeferWindowPos(static_cast<int>(m_items.size()));
  for (const Item& item : m_items) {
    RECT rect = item.start;
    if (item.edges & kMoveX) OffsetRect(&rect, dx, 0);
    if (item.edges & kMoveY) OffsetRect(&rect, 0, dy);
    if (item.edges & kGrowX) rect.right += dx;
    if (item.edges & kGrowY) rect.bottom += dy;
    const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    if (positions != nullptr) {
      positions = DeferWindowPos(positions, item.control, nullptr, rect.left, rect.top, rect.right - rect.left,
                                 rect.bottom - rect.top, flags);
    } else {
      SetWindowPos(item.control, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, flags);
    }
  }
  if (positions != nullptr) EndDeferWindowPos(positions);
}

void CDialogLayout::LimitTracking(MINMAXINFO* info) const {
  if (m_minimum.cx > 0) info->ptMinTrackSize = {m_minimum.cx, m_minimum.cy};
}
