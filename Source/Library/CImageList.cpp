// CImageList: creation, filling and the single destruction of an image list.
#include "Library/CImageList.h"

CImageList::~CImageList() {
  Destroy();
}

bool CImageList::Create(int width, int height, UINT flags, int initialCount, int growBy) {
  Destroy();
  m_list = ImageList_Create(width, height, flags, initialCount, growBy);
  return m_list != nullptr;
}

int CImageList::AddMasked(HBITMAP bitmap, COLORREF maskColor) {
  if (!m_list) return -1;
  return ImageList_AddMasked(m_list, bitmap, maskColor);
}

bool CImageList::Destroy() {
  if (!m_list) return false;
  ImageList_Destroy(m_list);
  m_list = nullptr;
  return true;
}
