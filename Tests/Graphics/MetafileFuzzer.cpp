// libFuzzer entry point for the metafile walk: the sanitizers catch a read
// outside the input; the checks here catch a walk that accepts what the
// player could not be given.
#include <cstdlib>

#include "Graphics/MetafileWalker.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  MetafileLayout layout;
  if (!WalkMetafile(data, size, layout)) return 0;
  if (layout.records == 0 || layout.wmfOffset >= size || layout.width < 0 || layout.height < 0) std::abort();
  if (layout.enhanced && (layout.width == 0 || layout.height == 0)) std::abort();
  std::int64_t width = layout.width, height = layout.height;
  double scale = 0;
  FitMetafileSize(width, height, 1u << 20, scale);
  if (width > 0 && height > 0 && width > 1 && height > 1 && width * height > (1 << 20)) std::abort();
  return 0;
}
