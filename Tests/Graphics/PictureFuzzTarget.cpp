// Decoding under the fuzzer: the sanitizers catch bad accesses and leaks;
// the checks here catch a picture that claims pixels it does not have.
#include "PictureFuzzTarget.h"

#include <cstdlib>

#include "Graphics/CPicture.h"

int QmFuzzPicture(int format, const std::uint8_t* data, std::size_t size) {
  CPicture picture;
  if (!picture.Decode(data, size, format, kFuzzPixelBudget)) {
    if (!picture.IsEmpty()) std::abort();
    return 0;
  }
  const std::uint64_t pixels = static_cast<std::uint64_t>(picture.Width()) * picture.Height();
  if (picture.Width() <= 0 || picture.Height() <= 0 || pixels > kFuzzPixelBudget || picture.XResolution() < 1 ||
      picture.YResolution() < 1) {
    std::abort();
  }
  CPicture copy(picture);
  copy.FlattenTransparency();
  // Reading the last pixel of both shows (to the sanitizer) that every row
  // is really there; any value is a valid pixel, so it is only kept.
  volatile std::uint32_t last = picture.PixelAt(picture.Width() - 1, picture.Height() - 1);
  (void)last;
  if (copy.HasTransparency() || (copy.PixelAt(copy.Width() - 1, copy.Height() - 1) >> 24) != 255) std::abort();
  return 0;
}
