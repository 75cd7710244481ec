// PlayingTime: "m:ss".
#include "Editors/PlayingTime.h"

#include <cstdio>

std::string MinutesAndSeconds(long long milliseconds) {
  const long long seconds = milliseconds > 0 ? milliseconds / 1000 : 0;
  char text[32];
  std::snprintf(text, sizeof text, "%lld:%02lld", seconds / 60, seconds % 60);
  return text;
}
