// The pictures scripts/make-test-pictures.sh writes at build time, with
// ImageMagick's own decoding of each as the reference: read by the decoding
// tests in both builds and by the drawing tests under Wine.
#ifndef QUILLMATE_TESTS_GRAPHICS_TESTPICTURES_H
#define QUILLMATE_TESTS_GRAPHICS_TESTPICTURES_H

#include <string>
#include <vector>

#include "Graphics/CPicture.h"

namespace qmtest {

struct TestPicture {
  std::string file;  // name inside the pictures folder
  int format;
  int width;
  int height;
  int tolerance;  // largest difference allowed per channel
  int dotsPerInch;  // 0: not checked
};

// Every manifest row; empty when the folder was not made.
std::vector<TestPicture> TestPictures();
// Full path of a picture (or its ".rgba" reference), as this process opens it.
std::string TestPicturePath(const std::string& file);
// The largest difference per channel between picture and the reference of
// file, colours compared premultiplied by alpha (a fully transparent pixel
// has no colour); -1 when the sizes differ or the reference is missing.
int DifferenceFromReference(const CPicture& picture, const std::string& file);

}  // namespace qmtest

#endif  // QUILLMATE_TESTS_GRAPHICS_TESTPICTURES_H
