// CImageList: holder of one image list. The list is destroyed exactly once:
// either by Destroy or by the holder's destructor, whichever comes first.
#pragma once

#include <windows.h>
#include <commctrl.h>

class CImageList {
 public:
  CImageList() : m_list(nullptr) {}
  virtual ~CImageList();
  CImageList(const CImageList&) = delete;
  CImageList& operator=(const CImageList&) = delete;

  // flags such as ILC_COLOR32 | ILC_MASK. A list already held is destroyed
  // first. Returns whether a list was made.
  bool Create(int width, int height, UINT flags, int initialCount, int growBy);
  // Adds the bitmap's images with maskColor as transparent; the caller
  // keeps the bitmap. Returns the first new index or -1.
  int AddMasked(HBITMAP bitmap, COLORREF maskColor);
  // Destroys the list and forgets it; false when none was held.
  bool Destroy();

  HIMAGELIST GetHandle() const { return m_list; }

 private:
  HIMAGELIST m_list;
};
