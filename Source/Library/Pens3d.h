// Pens3d: the four pens of a 3-D edge in the current system colours, deleted
// when the scope ends.
#pragma once

#include <windows.h>

class Pens3d {
 public:
  Pens3d();
  ~Pens3d();
  Pens3d(const Pens3d&) = delete;
  Pens3d& operator=(const Pens3d&) = delete;

  HPEN Highlight() const { return m_highlight; }
  HPEN Light() const { return m_light; }
  HPEN Shadow() const { return m_shadow; }
  HPEN DarkShadow() const { return m_darkShadow; }

 private:
  HPEN m_highlight;
  HPEN m_light;
  HPEN m_shadow;
  HPEN m_darkShadow;
};
