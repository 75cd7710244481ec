// libFuzzer entry point for the record-store fuzz target.
#include "StoresFuzzTarget.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return QmFuzzStores(data, size);
}
