// Formatted into a buffer of 78 characters, as every date text ever written
// was; years 1000-9999 give 19 characters.
#include "Records/TimeStamp.h"

#include <cstdio>

#include "Records/LocalClock.h"

std::string FormatTimeStamp(const RecordTime& time) {
  char text[78];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d %02d/%02d/%d", time.hour, time.minute, time.second,
                time.month, time.day, time.year);
  return text;
}

void MakeTimeStamp(std::string& text) {
  text = FormatTimeStamp(LocalNow());
}
