// libFuzzer entry point for the database fuzz target.
#include "DatabaseFuzzTarget.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return QmFuzzDatabase(data, size);
}
