// The format codes the photo album hands to the picture layer, and the one
// table that maps a file name's extension to them. Extensions are compared
// without regard to case, so "PHOTO.JPG" from a camera opens like "photo.jpg".
#ifndef QUILLMATE_GRAPHICS_PICTUREFORMAT_H
#define QUILLMATE_GRAPHICS_PICTUREFORMAT_H

#include <string>

enum PictureFormat : int {
  kFormatUnknown = 0,
  kFormatBmp = 1,
  kFormatGif = 2,
  kFormatJpeg = 3,
  kFormatPng = 4,
  kFormatIco = 5,
  kFormatTiff = 6,
  kFormatTga = 7,
  kFormatPcx = 8,
  kFormatWbmp = 9,
  kFormatMetafile = 10  // WMF and EMF, drawn by the platform (Windows only)
};

// The code for the text after the last dot of path; kFormatUnknown when
// there is no dot or the extension is not one of the table's.
int PictureFormatOfPath(const std::string& path);

#endif  // QUILLMATE_GRAPHICS_PICTUREFORMAT_H
