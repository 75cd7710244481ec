// Pens3d: solid zero-width pens in the button highlight, 3-D light, button
// shadow and 3-D dark shadow colours.
#include "Library/Pens3d.h"

Pens3d::Pens3d()
    : m_highlight(CreatePen(PS_SOLID, 0, GetSysColor(COLOR_BTNHIGHLIGHT))),
      m_light(CreatePen(PS_SOLID, 0, GetSysColor(COLOR_3DLIGHT))),
      m_shadow(CreatePen(PS_SOLID, 0, GetSysColor(COLOR_BTNSHADOW))),
      m_darkShadow(CreatePen(PS_SOLID, 0, GetSysColor(COLOR_3DDKSHADOW))) {}

Pens3d::~Pens3d() {
  if (m_highlight) DeleteObject(m_highlight);
  if (m_light) DeleteObject(m_light);
  if (m_shadow) DeleteObject(m_shadow);
  if (m_darkShadow) DeleteObject(m_darkShadow);
}
