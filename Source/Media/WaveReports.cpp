// WaveReports: message boxes through the program's one box helper, and
// diagnostic lines on stdout.
#include "Media/WaveReports.h"

#include <cstdarg>
#include <cstdio>

#include "Records/MessageBoxSeam.h"

void ShowWaveWarning(HWND owner, const char* text) {
  ShowMessageBox(owner, text, "Quillmate", kMbOk | kMbIconWarning);
}

void WaveDiagnostic(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  std::vprintf(format, arguments);
  va_end(arguments);
  std::fflush(stdout);
}
