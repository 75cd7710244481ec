// A JPEG with the statistics of a camera photo (smooth gradients, a
// pattern, sensor-like noise), encoded here with libjpeg at quality 90 and
// 4:2:0, for the benchmarks and tests of the picture layer; progressive
// gives libjpeg's standard progression of ten scans.
#ifndef QUILLMATE_TESTS_GRAPHICS_PHOTOLIKEJPEG_H
#define QUILLMATE_TESTS_GRAPHICS_PHOTOLIKEJPEG_H

#include <vector>

std::vector<unsigned char> PhotoLikeJpeg(int width, int height, bool progressive = false);

#endif  // QUILLMATE_TESTS_GRAPHICS_PHOTOLIKEJPEG_H
