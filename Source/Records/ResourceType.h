// The categories of internet resources as the program names them (typo
// included: "Bussines"), shared by the lists and by the bookmark files of qmdb.
#ifndef QUILLMATE_RECORDS_RESOURCETYPE_H
#define QUILLMATE_RECORDS_RESOURCETYPE_H

#include <cstdint>
#include <string>

constexpr int kResourceTypeCount = 6;  // 0 "Personal" ... 5 "Others"
constexpr std::int32_t kResourceTypeOthers = 5;

// "Personal", "Bussines", "Funny", "News", "Shopping"; "Others" for every
// other value, as the lists show a resource type word.
const char* ResourceTypeName(std::int32_t type);

// The index of a category name (letter case ignored); 5 ("Others") for any
// other text.
std::int32_t ResourceTypeOfName(const std::string& name);

#endif  // QUILLMATE_RECORDS_RESOURCETYPE_H
