#include "Support/StoredImage.h"

#include <algorithm>

namespace qmtest {

Bytes StoredImage(const RecordKindInfo& info, Bytes image) {
  for (std::size_t i = 0; i < info.fieldCount; ++i) {
    const RecordField& field = info.fields[i];
    if (field.type != RecordFieldType::Text) continue;
    unsigned char* text = image.data() + field.offset;
    std::size_t length = 0;
    while (length < 254 && text[length] != 0) ++length;
    std::fill(text + length, text + 255, 0);
  }
  std::fill(image.end() - 4, image.end(), 0);
  return image;
}

}  // namespace qmtest
