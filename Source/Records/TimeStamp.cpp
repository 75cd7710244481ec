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

namespace {

// Reads up to maxDigits digits (at least one) into value; advances text.
bool ReadNumber(const char*& text, int maxDigits, std::uint64_t& value) {
  value = 0;
  int digits = 0;
  while (digits < maxDigits && *text >= '0' && *text <= '9') {
    value = value * 10 + static_cast<unsigned>(*text - '0');
    ++text;
    ++digits;
  }
  return digits > 0;
}

bool Expect(const char*& text, char separator) {
  if (*text != separator) return false;
  ++text;
  return true;
}

}  // namespace

std::uint64_t TimeStampOrder(const char* text) {
  std::uint64_t hour, minute, second, month, day, year;
  if (!ReadNumber(text, 2, hour) || !Expect(text, ':') || !ReadNumber(text, 2, minute) || !Expect(text, ':') ||
      !ReadNumber(text, 2, second) || !Expect(text, ' ') || !ReadNumber(text, 2, month) || !Expect(text, '/') ||
      !ReadNumber(text, 2, day) || !Expect(text, '/') || !ReadNumber(text, 5, year) || *text != '\0')
    return 0;
  return ((((year * 100 + month) * 100 + day) * 100 + hour) * 100 + minute) * 100 + second + 1;
}
