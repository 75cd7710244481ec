// Windows build: GetLocalTime fills a SYSTEMTIME, whose bytes RecordTime
// mirrors. Compiled only for Windows.
#include <windows.h>

#include <cstring>

#include "Records/LocalClock.h"

static_assert(sizeof(SYSTEMTIME) == sizeof(RecordTime), "RecordTime mirrors SYSTEMTIME");

RecordTime PlatformLocalTime() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  RecordTime time;
  std::memcpy(&time, &now, sizeof time);
  return time;
}
