// RecordTime: the 16-byte local date and time that records store and the
// local clock returns. Its bytes are those of the Windows SYSTEMTIME
// structure, so a time notification's due time is copied to and from disk as
// it lies; being our own type, the host build can use it too.
#ifndef QUILLMATE_RECORDS_RECORDTIME_H
#define QUILLMATE_RECORDS_RECORDTIME_H

#include <cstddef>
#include <cstdint>

// Packed to alignment 1 so that a RecordTime inside a packed record can be
// bound to a reference without an unaligned access.
#pragma pack(push, 1)
struct RecordTime {
  std::uint16_t year;
  std::uint16_t month;      // 1-12
  std::uint16_t dayOfWeek;  // 0 = Sunday
  std::uint16_t day;        // 1-31
  std::uint16_t hour;
  std::uint16_t minute;
  std::uint16_t second;
  std::uint16_t milliseconds;
};
#pragma pack(pop)

static_assert(sizeof(RecordTime) == 16, "RecordTime must match SYSTEMTIME");
static_assert(offsetof(RecordTime, month) == 2 && offsetof(RecordTime, dayOfWeek) == 4 &&
                  offsetof(RecordTime, day) == 6 && offsetof(RecordTime, hour) == 8 &&
                  offsetof(RecordTime, minute) == 10 && offsetof(RecordTime, second) == 12 &&
                  offsetof(RecordTime, milliseconds) == 14,
              "RecordTime words must lie in SYSTEMTIME order");

#endif  // QUILLMATE_RECORDS_RECORDTIME_H
