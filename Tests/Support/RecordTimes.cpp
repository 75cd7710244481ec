// MakeTime and AddSeconds on the Gregorian calendar.
#include "Support/RecordTimes.h"

#include <cstdint>

namespace qmtest {

namespace {

// Days in month; February of leap years included.
int DaysIn(int year, int month) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

}  // namespace

RecordTime MakeTime(int year, int month, int day, int hour, int minute, int second, int milliseconds,
                    int dayOfWeek) {
  RecordTime time{};
  time.year = static_cast<std::uint16_t>(year);
  time.month = static_cast<std::uint16_t>(month);
  time.dayOfWeek = static_cast<std::uint16_t>(dayOfWeek);
  time.day = static_cast<std::uint16_t>(day);
  time.hour = static_cast<std::uint16_t>(hour);
  time.minute = static_cast<std::uint16_t>(minute);
  time.second = static_cast<std::uint16_t>(second);
  time.milliseconds = static_cast<std::uint16_t>(milliseconds);
  return time;
}

RecordTime AddSeconds(RecordTime time, int seconds) {
  long total = ((static_cast<long>(time.day) - 1) * 24 + time.hour) * 3600L + time.minute * 60L +
               time.second + seconds;
  int year = time.year, month = time.month;
  while (total < 0) {
    if (--month == 0) month = 12, --year;
    total += DaysIn(year, month) * 86400L;
  }
  while (total >= DaysIn(year, month) * 86400L) {
    total -= DaysIn(year, month) * 86400L;
    if (++month == 13) month = 1, ++year;
  }
  return MakeTime(year, month, static_cast<int>(total / 86400) + 1, static_cast<int>(total / 3600 % 24),
                  static_cast<int>(total / 60 % 60), static_cast<int>(total % 60), time.milliseconds,
                  time.dayOfWeek);
}

}  // namespace qmtest
