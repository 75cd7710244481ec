// One record as one JSON line and back, driven by the kind table's field
// list: texts as UTF-8 strings, integers as numbers, the notification time as
// "YYYY-MM-DD HH:MM:SS.mmm".
#ifndef QUILLMATE_TOOLS_QMDB_RECORDJSON_H
#define QUILLMATE_TOOLS_QMDB_RECORDJSON_H

#include <cstdint>
#include <string>

#include "CodePage.h"
#include "JsonLine.h"
#include "Records/RecordKind.h"
#include "Records/RecordTime.h"

// The two names dump puts in front of a record's fields. The object address
// is not called "address": e-mail and internet records have a field of that
// name.
constexpr const char* kObjectAddressName = "object_address";
constexpr const char* kCrcOkName = "crc_ok";

// "object_address", "crc_ok", then every field of the kind in table order;
// texts converted from the code page to UTF-8.
std::string RecordToJson(const RecordKindInfo& kind, const unsigned char* record, std::uint32_t address,
                         bool crcOk, const CodePage& codePage = CodePage::Windows1252());
// The same members added to an object under construction.
void AddRecordToJson(JsonObjectWriter& writer, const RecordKindInfo& kind, const unsigned char* record,
                     std::uint32_t address, bool crcOk, const CodePage& codePage);

// Fills a zeroed record from one line. Unknown names and values of the wrong
// type are errors; "object_address" and "crc_ok" (as dump writes them) are
// ignored;
// missing fields stay empty or 0, except a missing "date", which gets the
// current time stamp. Texts longer than 254 characters are cut.
bool RecordFromJson(const RecordKindInfo& kind, const std::string& line, unsigned char* record,
                    std::string& error, const CodePage& codePage = CodePage::Windows1252());

std::string FormatRecordTime(const RecordTime& time);
// A real calendar date (year 1 or later) and time of day.
bool IsValidRecordTime(const RecordTime& time);
// Strict: the exact shape and a real calendar date and time of day; the day
// of week is computed.
bool ParseRecordTime(const std::string& text, RecordTime& time);

#endif  // QUILLMATE_TOOLS_QMDB_RECORDJSON_H
