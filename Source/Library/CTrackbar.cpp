// CTrackbar: one trackbar message per operation. The range is set in two
// messages of 32-bit ends; TBM_SETRANGE would cut them to 16 bits.
#include "Library/CTrackbar.h"

bool CTrackbar::Create(HWND parent, int id, DWORD exStyle, DWORD style, int x, int y, int width, int height) {
  return CreateControl(kClassName, parent, id, exStyle, style, x, y, width, height);
}

void CTrackbar::SetRangeMin(int minimum, bool redraw) const {
  Send(TBM_SETRANGEMIN, redraw, minimum);
}

void CTrackbar::SetRangeMax(int maximum, bool redraw) const {
  Send(TBM_SETRANGEMAX, redraw, maximum);
}

int CTrackbar::GetRangeMax() const {
  return static_cast<int>(Send(TBM_GETRANGEMAX));
}

int CTrackbar::GetPos() const {
  return static_cast<int>(Send(TBM_GETPOS));
}

void CTrackbar::SetPos(int position, bool redraw) const {
  Send(TBM_SETPOS, redraw, position);
}

int CTrackbar::SetPageSize(int size) const {
  return static_cast<int>(Send(TBM_SETPAGESIZE, 0, size));
}

void CTrackbar::SetTicFrequency(int frequency) const {
  Send(TBM_SETTICFREQ, frequency);
}
