// Record times written out field by field, and moved by seconds, for tests
// that set a clock or compare stored times.
#ifndef QUILLMATE_TESTS_SUPPORT_RECORDTIMES_H
#define QUILLMATE_TESTS_SUPPORT_RECORDTIMES_H

#include "Records/RecordTime.h"

namespace qmtest {

RecordTime MakeTime(int year, int month, int day, int hour, int minute, int second, int milliseconds = 0,
                    int dayOfWeek = 0);

// The time seconds later (or earlier), across minute, hour, day, month and
// year bounds; the day of the week is kept as it was.
RecordTime AddSeconds(RecordTime time, int seconds);

}  // namespace qmtest

#endif  // QUILLMATE_TESTS_SUPPORT_RECORDTIMES_H
