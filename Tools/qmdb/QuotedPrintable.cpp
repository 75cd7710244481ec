#include "QuotedPrintable.h"

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

bool DecodeQuotedPrintable(const std::string& encoded, std::string& bytes) {
  bytes.clear();
  bytes.reserve(encoded.size());
  for (std::size_t i = 0; i < encoded.size(); ++i) {
    if (encoded[i] != '=') {
      bytes += encoded[i];
      continue;
    }
    const int high = i + 2 < encoded.size() ? HexValue(encoded[i + 1]) : -1;
    const int low = high >= 0 ? HexValue(encoded[i + 2]) : -1;
    if (low < 0) return false;
    bytes += static_cast<char>(high * 16 + low);
    i += 2;
  }
  return true;
}
