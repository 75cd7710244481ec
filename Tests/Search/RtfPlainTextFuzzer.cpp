// libFuzzer entry point for the RTF-to-text reader of the search.
#include "RtfPlainTextFuzzTarget.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  QmFuzzRtfPlainText(data, size);
  return 0;
}
