#include "ImportedRecord.h"

#include "CodePage.h"

bool CheckUtf8Text(const std::string& text, std::string& error) {
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t at = pos;
    std::uint32_t code;
    if (!DecodeUtf8(text, pos, code)) {
      error = "not UTF-8 text (bad byte at offset " + std::to_string(at) + ")";
      return false;
    }
  }
  return true;
}
