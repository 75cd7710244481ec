// Field access goes through byte copies: the records are packed and their
// integers unaligned.
#include "RecordJson.h"

#include <cstdio>
#include <cstring>

#include "Records/RecordText.h"
#include "Records/TimeStamp.h"

namespace {

bool IsLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
  static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// 0 = Sunday (Sakamoto's method).
int DayOfWeek(int year, int month, int day) {
  static const int kOffsets[12] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  if (month < 3) year -= 1;
  return (year + year / 4 - year / 100 + year / 400 + kOffsets[month - 1] + day) % 7;
}

bool ReadDigits(const std::string& text, std::size_t pos, std::size_t count, int& value) {
  value = 0;
  for (std::size_t i = 0; i < count; ++i) {
    char c = text[pos + i];
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  return true;
}

}  // namespace

std::string FormatRecordTime(const RecordTime& time) {
  char text[64];
  std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u.%03u", time.year, time.month, time.day,
                time.hour, time.minute, time.second, time.milliseconds);
  return text;
}

bool IsValidRecordTime(const RecordTime& time) {
  return time.year >= 1 && time.month >= 1 && time.month <= 12 && time.day >= 1 &&
         time.day <= DaysInMonth(time.year, time.month) && time.hour <= 23 && time.minute <= 59 &&
         time.second <= 59 && time.milliseconds <= 999;
}

bool ParseRecordTime(const std::string& text, RecordTime& time) {
  // YYYY-MM-DD HH:MM:SS.mmm
  if (text.size() != 23 || text[4] != '-' || text[7] != '-' || text[10] != ' ' || text[13] != ':' ||
      text[16] != ':' || text[19] != '.')
    return false;
  int year, month, day, hour, minute, second, ms;
  if (!ReadDigits(text, 0, 4, year) || !ReadDigits(text, 5, 2, month) || !ReadDigits(text, 8, 2, day) ||
      !ReadDigits(text, 11, 2, hour) || !ReadDigits(text, 14, 2, minute) ||
      !ReadDigits(text, 17, 2, second) || !ReadDigits(text, 20, 3, ms))
    return false;
  if (year < 1 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) || hour > 23 ||
      minute > 59 || second > 59)
    return false;
  time.year = static_cast<std::uint16_t>(year);
  time.month = static_cast<std::uint16_t>(month);
  time.dayOfWeek = static_cast<std::uint16_t>(DayOfWeek(year, month, day));
  time.day = static_cast<std::uint16_t>(day);
  time.hour = static_cast<std::uint16_t>(hour);
  time.minute = static_cast<std::uint16_t>(minute);
  time.second = static_cast<std::uint16_t>(second);
  time.milliseconds = static_cast<std::uint16_t>(ms);
  return true;
}

std::string RecordToJson(const RecordKindInfo& kind, const unsigned char* record, std::uint32_t address,
                         bool crcOk, const CodePage& codePage) {
  JsonObjectWriter writer;
  AddRecordToJson(writer, kind, record, address, crcOk, codePage);
  return writer.Finish();
}

void AddRecordToJson(JsonObjectWriter& writer, const RecordKindInfo& kind, const unsigned char* record,
                     std::uint32_t address, bool crcOk, const CodePage& codePage) {
  writer.AddInteger(kObjectAddressName, address);
  writer.AddBoolean(kCrcOkName, crcOk);
  for (std::size_t i = 0; i < kind.fieldCount; ++i) {
    const RecordField& field = kind.fields[i];
    const unsigned char* at = record + field.offset;
    switch (field.type) {
      case RecordFieldType::Text:
        writer.AddString(field.name, codePage.ToUtf8(RecordTextOf(reinterpret_cast<const char*>(at))));
        break;
      case RecordFieldType::Int32: {
        std::int32_t value;
        std::memcpy(&value, at, sizeof value);
        writer.AddInteger(field.name, value);
        break;
      }
      case RecordFieldType::Time: {
        RecordTime time;
        std::memcpy(&time, at, sizeof time);
        writer.AddString(field.name, FormatRecordTime(time));
        break;
      }
    }
  }
}

bool RecordFromJson(const RecordKindInfo& kind, const std::string& line, unsigned char* record,
                    std::string& error, const CodePage& codePage) {
  JsonMembers members;
  if (!ParseJsonObject(line, members, error)) return false;
  bool hasDate = false;
  for (const auto& member : members) {
    const std::string& name = member.first;
    const JsonValue& value = member.second;
    if (name == kObjectAddressName || name == kCrcOkName) continue;
    const RecordField* field = FindRecordField(kind, name);
    if (field == nullptr) {
      error = "unknown field \"" + name + "\" for kind " + kind.toolName;
      return false;
    }
    unsigned char* at = record + field->offset;
    switch (field->type) {
      case RecordFieldType::Text: {
        if (value.type != JsonValue::Type::String) {
          error = "field \"" + name + "\" must be a string";
          return false;
        }
        std::string bytes;
        if (!codePage.FromUtf8(value.text, bytes, error)) {
          error = "field \"" + name + "\": " + error;
          return false;
        }
        CopyRecordText(reinterpret_cast<char*>(at), bytes.c_str());
        if (name == "date") hasDate = true;
        break;
      }
      case RecordFieldType::Int32: {
        if (value.type != JsonValue::Type::Integer || value.integer < INT32_MIN ||
            value.integer > static_cast<std::int64_t>(UINT32_MAX)) {
          error = "field \"" + name + "\" must be a 32-bit integer";
          return false;
        }
        std::uint32_t word = static_cast<std::uint32_t>(value.integer);
        std::memcpy(at, &word, sizeof word);
        break;
      }
      case RecordFieldType::Time: {
        RecordTime time{};
        if (value.type != JsonValue::Type::String || !ParseRecordTime(value.text, time)) {
          error = "field \"" + name + "\" must be a time \"YYYY-MM-DD HH:MM:SS.mmm\"";
          return false;
        }
        std::memcpy(at, &time, sizeof time);
        break;
      }
    }
  }
  if (!hasDate) {
    std::string stamp;
    MakeTimeStamp(stamp);
    CopyRecordText(reinterpret_cast<char*>(record), stamp.c_str());
  }
  return true;
}
