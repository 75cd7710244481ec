// Not a test: one long recording from the sound device of the run (ALSA's
// null device, silence delivered faster than real time), with the recording
// thread's processor time per minute of sound and the process's private
// memory sampled while it runs. Figures only; run by scripts/bench-wine.sh.
// Argument: minutes of sound to record (default 20).
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "Media/CWaveRecorder.h"
#include "Records/MessageBoxSeam.h"

namespace {

double Seconds(const FILETIME& time) {
  ULARGE_INTEGER value;
  value.LowPart = time.dwLowDateTime;
  value.HighPart = time.dwHighDateTime;
  return static_cast<double>(value.QuadPart) / 1e7;
}

// Committed private memory (Wine reports it as the page-file usage and
// leaves PrivateUsage at 0).
SIZE_T PrivateBytes() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return counters.PagefileUsage;
}

}  // namespace

int main(int argc, char** argv) {
  const double minutes = argc > 1 ? std::atof(argv[1]) : 20.0;
  const auto target = static_cast<std::uint32_t>(minutes * 60 * 176400);
  // The device has no mixer: its warnings are not what is measured.
  ScopedMessageBoxScript quiet([](void*, const char*, const char*, unsigned) { return kIdOk; });

  char folder[MAX_PATH];
  GetTempPathA(sizeof folder, folder);
  const std::string path = std::string(folder) + "QuillmateRecorderBenchmark.wav";
  CWaveRecorder& recorder = WaveRecorder();
  if (recorder.Open(nullptr, 0) != 1 || recorder.Start(nullptr, path) != 1) {
    std::printf("could not start recording\n");
    return 1;
  }
  const DWORD started = GetTickCount();
  SIZE_T lowest = 0, highest = 0, atStart = 0;
  int samples = 0;
  // Memory is sampled from the second buffer cycle on, when both buffers and
  // the file's own buffer exist.
  while (recorder.DataBytes() < target && GetTickCount() - started < 600000) {
    Sleep(100);
    if (recorder.DataBytes() < 2 * kWaveBufferBytes) continue;
    SIZE_T now = PrivateBytes();
    if (samples++ == 0) lowest = highest = atStart = now;
    lowest = std::min(lowest, now);
    highest = std::max(highest, now);
  }
  FILETIME created, exited, kernel, user;
  GetThreadTimes(recorder.RecordingThread(), &created, &exited, &kernel, &user);
  const double cpu = Seconds(kernel) + Seconds(user);
  const double wall = (GetTickCount() - started) / 1000.0;
  recorder.Stop(nullptr);
  const double sound = recorder.DataBytes() / 176400.0 / 60.0;
  std::printf("recorded %.2f minutes of sound in %.1f s of wall time\n", sound, wall);
  std::printf("recording thread: %.3f s processor time (kernel %.3f, user %.3f) = %.1f ms per minute of sound\n",
              cpu, Seconds(kernel), Seconds(user), cpu * 1000 / sound);
  std::printf("private memory over %d samples: first %lu KB, lowest %lu KB, highest %lu KB (spread %ld KB)\n",
              samples, static_cast<unsigned long>(atStart / 1024), static_cast<unsigned long>(lowest / 1024),
              static_cast<unsigned long>(highest / 1024), static_cast<long>((highest - lowest) / 1024));
  DeleteFileA(path.c_str());
  return 0;
}
