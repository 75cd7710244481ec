// libFuzzer entry point for the fuzz target of qmdb's readers.
#include "ImportFuzzTarget.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return QmFuzzImport(data, size);
}
