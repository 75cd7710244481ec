// MainImageLists: the main window's four image lists, each in a holder that
// destroys it exactly once (when the window is destroyed, or at process end
// for a list still held).
#pragma once

#include "Library/CImageList.h"

extern CImageList gManagerImagesLarge;  // 42 x 42, bitmap 12
extern CImageList gManagerImagesSmall;  // 16 x 16, bitmap 12
extern CImageList gMainToolbarImages;   // 32 x 32, bitmap 10
extern CImageList gEditToolbarImages;   // 16 x 16, bitmap 11

// Each fills its holder from the bitmap resource, magenta being transparent,
// and returns the list (null when it could not be made).
HIMAGELIST CreateManagerImagesLarge();
HIMAGELIST CreateManagerImagesSmall();
// A new list of the eight small manager pictures, in kind order, owned by
// the caller (a list view without LVS_SHAREIMAGELISTS destroys it).
HIMAGELIST CreateKindPictures();
HIMAGELIST CreateMainToolbarImages();
HIMAGELIST CreateEditToolbarImages();

// Destroys each of the four lists that exists.
void DestroyMainImageLists();
