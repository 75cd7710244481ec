// Every live record of one store file, read once through the store in file
// order. CRC mismatches are noted per record instead of being shown in
// message boxes: tools report them in their own output.
#ifndef QUILLMATE_TOOLS_QMDB_STOREDRECORDS_H
#define QUILLMATE_TOOLS_QMDB_STOREDRECORDS_H

#include <cstdint>
#include <string>
#include <vector>

#include "Records/RecordKind.h"

struct StoredRecord {
  std::uint32_t address = 0;
  bool crcOk = true;  // false: the checksum differs, or the record could not be read whole
  std::vector<unsigned char> bytes;  // recordSize bytes
};

// Opens the file read-only. False with the engine's error text when it is no
// usable database.
bool ReadStoredRecords(const std::string& path, const RecordKindInfo& kind, std::vector<StoredRecord>& records,
                       std::string& error);

#endif  // QUILLMATE_TOOLS_QMDB_STOREDRECORDS_H
