// ModeSetter: sets a device context's mix mode (SetROP2) for the life of the
// scope and restores the previous one.
#pragma once

#include <windows.h>

class ModeSetter {
 public:
  ModeSetter(HDC dc, int mode) : m_dc(dc), m_previous(GetROP2(dc)) { SetROP2(dc, mode); }
  ~ModeSetter() { SetROP2(m_dc, m_previous); }
  ModeSetter(const ModeSetter&) = delete;
  ModeSetter& operator=(const ModeSetter&) = delete;

 private:
  HDC m_dc;
  int m_previous;
};
