// libFuzzer entry point for the RTF tokenizer.
#include "RtfFuzzTarget.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  QmFuzzRtfTokenizer(data, size);
  return 0;
}
