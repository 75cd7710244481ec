// The one writer of record text fields. Every text in a record is a 255-byte
// field holding at most 254 characters, zero-terminated and zero-filled, so
// byte 254 is always zero whatever the caller passes.
#ifndef QUILLMATE_RECORDS_RECORDTEXT_H
#define QUILLMATE_RECORDS_RECORDTEXT_H

#include <cstddef>
#include <string>

constexpr std::size_t kRecordTextSize = 255;
constexpr std::size_t kRecordTextMaxLength = kRecordTextSize - 1;

// Copies at most 254 characters of text (a null text counts as empty) into
// field and zero-fills the rest of the field up to and including byte 254.
void CopyRecordText(char* field, const char* text);

template <std::size_t N>
void CopyRecordText(char (&field)[N], const char* text) {
  static_assert(N == kRecordTextSize, "record text fields are 255 bytes");
  CopyRecordText(static_cast<char*>(field), text);
}

// The text of a field read from disk: stops at the first zero byte or after
// 255 bytes when a damaged field holds none.
std::string RecordTextOf(const char* field);

#endif  // QUILLMATE_RECORDS_RECORDTEXT_H
