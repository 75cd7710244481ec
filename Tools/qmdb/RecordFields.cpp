// Records are packed and their integers unaligned: every access copies bytes.
#include "RecordFields.h"

#include <cstring>

#include "Records/RecordText.h"

const RecordField* RecordFields::Field(const char* name, RecordFieldType type) const {
  const RecordField* field = FindRecordField(m_kind, name);
  return field != nullptr && field->type == type ? field : nullptr;
}

std::string RecordFields::Text(const char* name) const {
  return m_codePage.ToUtf8(RawText(name), &m_undefinedBytes);
}

std::string RecordFields::RawText(const char* name) const {
  const RecordField* field = Field(name, RecordFieldType::Text);
  if (field == nullptr) return std::string();
  return RecordTextOf(reinterpret_cast<const char*>(m_record + field->offset));
}

std::int32_t RecordFields::Integer(const char* name) const {
  const RecordField* field = Field(name, RecordFieldType::Int32);
  std::int32_t value = 0;
  if (field != nullptr) std::memcpy(&value, m_record + field->offset, sizeof value);
  return value;
}

RecordTime RecordFields::Time(const char* name) const {
  const RecordField* field = Field(name, RecordFieldType::Time);
  RecordTime time{};
  if (field != nullptr) std::memcpy(&time, m_record + field->offset, sizeof time);
  return time;
}

std::string RecordFields::SetText(const char* name, const std::string& utf8, bool& ok) {
  ok = true;
  const RecordField* field = Field(name, RecordFieldType::Text);
  if (field == nullptr) return std::string();
  std::string bytes, error;
  int replaced = 0;
  if (!m_codePage.FromUtf8Replacing(utf8, bytes, replaced, error)) {
    ok = false;
    return error;
  }
  std::string lost;
  if (replaced > 0) {
    lost = std::to_string(replaced) + (replaced == 1 ? " character" : " characters") + " not in code page " +
           std::to_string(m_codePage.Number()) + " stored as '?'";
  }
  if (bytes.size() > kRecordTextMaxLength) {
    if (!lost.empty()) lost += "; ";
    lost += "cut to " + std::to_string(kRecordTextMaxLength) + " characters (" + std::to_string(bytes.size()) +
            " given)";
  }
  CopyRecordText(reinterpret_cast<char*>(m_record + field->offset), bytes.c_str());
  return lost;
}

void RecordFields::SetInteger(const char* name, std::int32_t value) {
  const RecordField* field = Field(name, RecordFieldType::Int32);
  if (field != nullptr) std::memcpy(m_record + field->offset, &value, sizeof value);
}
