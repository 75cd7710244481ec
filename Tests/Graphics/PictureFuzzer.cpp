// libFuzzer entry point of one picture decoder; CMake builds this file once
// per format with QM_FUZZ_FORMAT set to the format's code.
#include "PictureFuzzTarget.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return QmFuzzPicture(QM_FUZZ_FORMAT, data, size);
}
