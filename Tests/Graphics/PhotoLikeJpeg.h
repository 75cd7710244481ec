// A JPEG with the statistics of a camera photo (smooth gradients, a
// pattern, sensor-like noise), encoded here with libjpeg at quality 90 and
// 4:2:0, for the benchmarks of the picture layer.
#ifndef QUILLMATE_TESTS_GRAPHICS_PHOTOLIKEJPEG_H
#define QUILLMATE_TESTS_GRAPHICS_PHOTOLIKEJPEG_H

#include <vector>

std::vector<unsigned char> PhotoLikeJpeg(int width, int height);

#endif  // QUILLMATE_TESTS_GRAPHICS_PHOTOLIKEJPEG_H
