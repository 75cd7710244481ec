#include "Records/ResourceType.h"

#include <cctype>

namespace {
const char* const kNames[kResourceTypeCount] = {"Personal", "Bussines", "Funny", "News", "Shopping", "Others"};
}  // namespace

const char* ResourceTypeName(std::int32_t type) {
  return type >= 0 && type < kResourceTypeOthers ? kNames[type] : kNames[kResourceTypeOthers];
}

std::int32_t ResourceTypeOfName(const std::string& name) {
  for (std::int32_t type = 0; type < kResourceTypeCount; ++type) {
    const std::string candidate = kNames[type];
    if (candidate.size() != name.size()) continue;
    bool same = true;
    for (std::size_t i = 0; i < name.size() && same; ++i)
      same = std::tolower(static_cast<unsigned char>(name[i])) == std::tolower(static_cast<unsigned char>(candidate[i]));
    if (same) return type;
  }
  return kResourceTypeOthers;
}
