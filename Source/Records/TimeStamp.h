// The date text every record carries: the local time of its last save as
// "hh:mm:ss MM/DD/YYYY" (24-hour clock, month before day).
#ifndef QUILLMATE_RECORDS_TIMESTAMP_H
#define QUILLMATE_RECORDS_TIMESTAMP_H

#include <cstdint>
#include <string>

#include "Records/RecordTime.h"

// The current local time (LocalNow) as record date text.
void MakeTimeStamp(std::string& text);

// The date text of a given time, e.g. "09:05:03 12/02/2003".
std::string FormatTimeStamp(const RecordTime& time);

// A number that orders date texts by the time they name (year, month, day,
// hour, minute, second), for sorting lists; 0 for a text that is not a date
// text, so such texts sort before every date.
std::uint64_t TimeStampOrder(const char* text);

#endif  // QUILLMATE_RECORDS_TIMESTAMP_H
