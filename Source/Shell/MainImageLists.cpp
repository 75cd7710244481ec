// MainImageLists: the four lists are made from one bitmap resource each. The
// small manager pictures come from the same bitmap as the large ones, shrunk
// to the small size before they are added, so that both lists hold the same
// eight pictures.
#include "Shell/MainImageLists.h"

#include "Library/CWinApp.h"
#include "Resources/MainWindowIds.h"

CImageList gManagerImagesLarge;
CImageList gManagerImagesSmall;
CImageList gMainToolbarImages;
CImageList gEditToolbarImages;

namespace {

constexpr COLORREF kTransparent = RGB(0xFF, 0x00, 0xFF);
// The pictures are 24-bit strips on a magenta key, with no alpha to keep: a
// 32-bit list of them costs more to build, to hold and to draw each time.
constexpr UINT kImageListFlags = ILC_COLOR24 | ILC_MASK;

// Owns a bitmap handle for the length of one fill.
class BitmapHandle {
 public:
  explicit BitmapHandle(HBITMAP bitmap) : m_bitmap(bitmap) {}
  ~BitmapHandle() {
    if (m_bitmap) DeleteObject(m_bitmap);
  }
  BitmapHandle(const BitmapHandle&) = delete;
  BitmapHandle& operator=(const BitmapHandle&) = delete;
  HBITMAP Get() const { return m_bitmap; }

 private:
  HBITMAP m_bitmap;
};

HBITMAP LoadPictures(int bitmapId) {
  return static_cast<HBITMAP>(LoadImageA(gApp.GetResourceInstance(), MAKEINTRESOURCEA(bitmapId), IMAGE_BITMAP,
                                         0, 0, LR_CREATEDIBSECTION));
}

// A 24-bit picture of width x height, made without the screen's device
// context (under Wine each use of it is several round trips to the window
// server, at every start).
HBITMAP CreatePicture(int width, int height) {
  BITMAPINFO format = {};
  format.bmiHeader.biSize = sizeof(format.bmiHeader);
  format.bmiHeader.biWidth = width;
  format.bmiHeader.biHeight = height;
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 24;
  format.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  return CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
}

// A copy of a strip of square pictures with each picture scaled to size x
// size. Scaling without blending keeps the magenta background exact.
HBITMAP ShrinkStrip(HBITMAP strip, int count, int size) {
  BITMAP info = {};
  if (!GetObjectA(strip, sizeof(info), &info)) return nullptr;
  HDC source = CreateCompatibleDC(nullptr);
  HDC target = CreateCompatibleDC(nullptr);
  HBITMAP result = CreatePicture(count * size, size);
  if (source && target && result) {
    HGDIOBJ oldSource = SelectObject(source, strip);
    HGDIOBJ oldTarget = SelectObject(target, result);
    SetStretchBltMode(target, COLORONCOLOR);
    StretchBlt(target, 0, 0, count * size, size, source, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
    SelectObject(source, oldSource);
    SelectObject(target, oldTarget);
  }
  if (source) DeleteDC(source);
  if (target) DeleteDC(target);
  return result;
}

HIMAGELIST Fill(CImageList& holder, int size, int count, int bitmapId) {
  if (!holder.Create(size, size, kImageListFlags, count, 0)) return nullptr;
  BitmapHandle pictures(LoadPictures(bitmapId));
  if (pictures.Get()) holder.AddMasked(pictures.Get(), kTransparent);
  return holder.GetHandle();
}

}  // namespace

HIMAGELIST CreateManagerImagesLarge() {
  return Fill(gManagerImagesLarge, 42, 8, IDB_MANAGERS);
}

namespace {

constexpr int kManagerCount = 8;
constexpr int kSmallSize = 16;

void AddSmallManagerPictures(HIMAGELIST list) {
  BitmapHandle large(LoadPictures(IDB_MANAGERS));
  if (!large.Get()) return;
  BitmapHandle small(ShrinkStrip(large.Get(), kManagerCount, kSmallSize));
  if (small.Get()) ImageList_AddMasked(list, small.Get(), kTransparent);
}

}  // namespace

HIMAGELIST CreateManagerImagesSmall() {
  if (!gManagerImagesSmall.Create(kSmallSize, kSmallSize, kImageListFlags, kManagerCount, 0)) return nullptr;
  AddSmallManagerPictures(gManagerImagesSmall.GetHandle());
  return gManagerImagesSmall.GetHandle();
}

HIMAGELIST CreateKindPictures() {
  HIMAGELIST list = ImageList_Create(kSmallSize, kSmallSize, kImageListFlags, kManagerCount, 0);
  if (list) AddSmallManagerPictures(list);
  return list;
}

HIMAGELIST CreateMainToolbarImages() {
  return Fill(gMainToolbarImages, 32, 10, IDB_MAIN_TOOLBAR);
}

HIMAGELIST CreateEditToolbarImages() {
  return Fill(gEditToolbarImages, 16, 14, IDB_EDIT_TOOLBAR);
}

void DestroyMainImageLists() {
  gManagerImagesLarge.Destroy();
  gManagerImagesSmall.Destroy();
  gMainToolbarImages.Destroy();
  gEditToolbarImages.Destroy();
}
