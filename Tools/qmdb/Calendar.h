// iCalendar (RFC 5545) for time notifications: one VEVENT per notification
// at its local time (a floating DTSTART, as the program keeps no time zone),
// with a VALARM that shows it at that moment; urgent ones carry PRIORITY 1.
//
//   Record field | iCalendar
//   -------------|--------------------------------------------------------
//   title        | SUMMARY, and the alarm's DESCRIPTION
//   text         | DESCRIPTION (left out when empty)
//   type         | PRIORITY:1 when 1 (urgent); no PRIORITY otherwise
//   time         | DTSTART (local date and time, seconds; milliseconds drop)
#ifndef QUILLMATE_TOOLS_QMDB_CALENDAR_H
#define QUILLMATE_TOOLS_QMDB_CALENDAR_H

#include <string>

#include "RecordFields.h"

std::string CalendarBegin();
std::string CalendarEnd();

// Appends one VEVENT; false (nothing appended) when the record's time is no
// real date and time. uid identifies the event; stamp is the export's UTC
// time as YYYYMMDDTHHMMSSZ. Control characters dropped from the texts are
// added to dropped.
bool AppendCalendarEvent(std::string& out, const RecordFields& fields, const std::string& uid,
                         const std::string& stamp, int& dropped);

#endif  // QUILLMATE_TOOLS_QMDB_CALENDAR_H
