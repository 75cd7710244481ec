// libFuzzer entry point for the WAVE and AVI check: the first byte chooses
// the kind, the rest is the file. The sanitizers catch a read outside it.
#include <cstdint>
#include <cstdlib>

#include "Records/RiffMediaCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const RiffMedia kind = data[0] & 1 ? RiffMedia::Avi : RiffMedia::RecorderWave;
  MemoryRiffSource source(data + 1, size - 1);
  const char* problem = RiffMediaProblem(source, kind);
  // A playable file is at least a RIFF header, a format and its data.
  if (!problem && size - 1 < 12 + 8 + 16 + 8) std::abort();
  return 0;
}
