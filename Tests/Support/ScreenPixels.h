// What the screen shows in a window's client area, copied once, and counts
// over rectangles of it: dark pixels (text drawn there) and pixels of any
// other colour than the background. Tests of painting read the result, as a
// user would look at the window.
#ifndef QUILLMATE_TESTS_SUPPORT_SCREENPIXELS_H
#define QUILLMATE_TESTS_SUPPORT_SCREENPIXELS_H

#include <windows.h>

#include <vector>

namespace qmtest {

class ScreenPixels {
 public:
  explicit ScreenPixels(HWND window);

  // Dark pixels (text) inside the rectangle, in the window's client
  // coordinates.
  int InkIn(const RECT& area) const;
  // Pixels inside the rectangle that differ from colour.
  int OtherThan(const RECT& area, COLORREF colour) const;

 private:
  template <typename Visit>
  void ForEach(const RECT& area, Visit visit) const;

  int m_width = 0;
  int m_height = 0;
  std::vector<unsigned> m_pixels;
};

}  // namespace qmtest

#endif  // QUILLMATE_TESTS_SUPPORT_SCREENPIXELS_H
