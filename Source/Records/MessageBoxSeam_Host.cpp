// Host build: no windows exist, so a box is written to stderr and answered
// with its default button, the way a user pressing Enter would.
#include <cstdio>

#include "Records/MessageBoxSeam.h"

int PlatformShowMessageBox(void*, const char* text, const char* caption, unsigned style) {
  int answer = DefaultMessageBoxAnswer(style);
  std::fprintf(stderr, "[%s] %s (answered %d)\n", caption, text, answer);
  return answer;
}
