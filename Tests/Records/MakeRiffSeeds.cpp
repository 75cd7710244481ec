// Writes the seeds of FuzzRiffMedia into the folder given: a recorder's WAVE
// and an AVI, each behind the byte that chooses its kind (made at build
// time, none checked in).
#include <fstream>
#include <string>

#include "CraftedRiff.h"

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  const std::string folder = argv[1];
  using namespace qmtest;
  const RiffBytes wave = RiffFile("WAVE", {RiffChunk("fmt ", PcmFormat(2, 44100, 16)), RiffChunk("data", RiffBytes(64, 1))});
  const RiffBytes avi = CraftAvi({});
  const struct {
    const char* name;
    char kind;
    const RiffBytes* bytes;
  } seeds[] = {{"/recording.wav", 0, &wave}, {"/capture.avi", 1, &avi}};
  for (const auto& seed : seeds) {
    std::ofstream out(folder + seed.name, std::ios::binary);
    out.put(seed.kind);
    out.write(reinterpret_cast<const char*>(seed.bytes->data()), static_cast<std::streamsize>(seed.bytes->size()));
    if (!out) return 1;
  }
  return 0;
}
