// Dispatch between a test clock and the platform's.
#include "Records/LocalClock.h"

#include <utility>

namespace {

LocalClockSource& InstalledClock() {
  static LocalClockSource clock;
  return clock;
}

}  // namespace

RecordTime LocalNow() {
  if (InstalledClock()) return InstalledClock()();
  return PlatformLocalTime();
}

ScopedLocalClock::ScopedLocalClock(LocalClockSource source)
    : m_previous(std::exchange(InstalledClock(), std::move(source))) {}

ScopedLocalClock::~ScopedLocalClock() {
  InstalledClock() = std::move(m_previous);
}
