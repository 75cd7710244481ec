// Text fields are cut, never overflowed, and the bytes behind the text are
// zeroed so that no earlier content leaks to disk.
#include "Records/RecordText.h"

#include <cstring>

void CopyRecordText(char* field, const char* text) {
  std::size_t length = 0;
  if (text != nullptr) {
    while (length < kRecordTextMaxLength && text[length] != '\0') ++length;
    // The source may overlap the field (a field normalised in place).
    std::memmove(field, text, length);
  }
  std::memset(field + length, 0, kRecordTextSize - length);
}

std::string RecordTextOf(const char* field) {
  std::size_t length = 0;
  while (length < kRecordTextSize && field[length] != '\0') ++length;
  return std::string(field, length);
}
