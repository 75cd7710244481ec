// The date text every record carries: the local time of its last save as
// "hh:mm:ss MM/DD/YYYY" (24-hour clock, month before day).
#ifndef QUILLMATE_RECORDS_TIMESTAMP_H
#define QUILLMATE_RECORDS_TIMESTAMP_H

#include <string>

#include "Records/RecordTime.h"

// The current local time (LocalNow) as record date text.
void MakeTimeStamp(std::string& text);

// The date text of a given time, e.g. "09:05:03 12/02/2003".
std::string FormatTimeStamp(const RecordTime& time);

#endif  // QUILLMATE_RECORDS_TIMESTAMP_H
