// The local wall clock of the program: record time stamps, attachment names
// and the time-notification scheduler all ask LocalNow(). Tests replace the
// clock with a function of their own to make times and collisions
// deterministic.
#ifndef QUILLMATE_RECORDS_LOCALCLOCK_H
#define QUILLMATE_RECORDS_LOCALCLOCK_H

#include <functional>

#include "Records/RecordTime.h"

// The current local date and time to the millisecond (GetLocalTime on
// Windows), or whatever the installed test clock returns.
RecordTime LocalNow();

using LocalClockSource = std::function<RecordTime()>;

// Replaces the clock for the lifetime of the object and restores the previous
// one afterwards. Not thread-safe: install it before starting anything that
// reads the clock.
class ScopedLocalClock {
 public:
  explicit ScopedLocalClock(LocalClockSource source);
  ~ScopedLocalClock();
  ScopedLocalClock(const ScopedLocalClock&) = delete;
  ScopedLocalClock& operator=(const ScopedLocalClock&) = delete;

 private:
  LocalClockSource m_previous;
};

// The platform's clock, for LocalNow only.
RecordTime PlatformLocalTime();

#endif  // QUILLMATE_RECORDS_LOCALCLOCK_H
