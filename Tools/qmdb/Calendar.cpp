#include "Calendar.h"

#include <cstdio>

#include "ContentLine.h"
#include "RecordJson.h"

std::string CalendarBegin() {
  return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Ferrowind//Quillmate qmdb//EN\r\nCALSCALE:GREGORIAN\r\n";
}

std::string CalendarEnd() {
  return "END:VCALENDAR\r\n";
}

bool AppendCalendarEvent(std::string& out, const RecordFields& fields, const std::string& uid,
                         const std::string& stamp, int& dropped) {
  const RecordTime time = fields.Time("time");
  if (!IsValidRecordTime(time) || time.year > 9999) return false;
  char start[32];
  std::snprintf(start, sizeof start, "%04u%02u%02uT%02u%02u%02u", time.year, time.month, time.day, time.hour,
                time.minute, time.second);
  const std::string title = fields.Text("title");
  const std::string text = fields.Text("text");
  out += "BEGIN:VEVENT\r\n";
  AppendContentLine(out, "UID", uid);
  AppendContentLine(out, "DTSTAMP", stamp);
  AppendContentLine(out, "DTSTART", start);
  AppendContentLine(out, "SUMMARY", EscapeContentText(title, &dropped));
  if (!text.empty()) AppendContentLine(out, "DESCRIPTION", EscapeContentText(text, &dropped));
  if (fields.Integer("type") == 1) out += "PRIORITY:1\r\n";
  out += "BEGIN:VALARM\r\nACTION:DISPLAY\r\n";
  // A display alarm must have a description; an untitled notification shows its text.
  AppendContentLine(out, "DESCRIPTION", EscapeContentText(title.empty() ? text : title));
  out += "TRIGGER;RELATED=START:PT0S\r\nEND:VALARM\r\nEND:VEVENT\r\n";
  return true;
}
