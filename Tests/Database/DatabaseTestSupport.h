// The fixture of the database tests: a scratch folder per test, faults
// cleared around each test, and raw byte access to database files (shared
// test support), so tests can check and damage the bytes on disk behind the
// engine's back.
#ifndef QUILLMATE_TESTS_DATABASE_DATABASETESTSUPPORT_H
#define QUILLMATE_TESTS_DATABASE_DATABASETESTSUPPORT_H

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "Database/gxDatabase.h"
#include "Database/gxFaultInjection.h"
#include "Support/FileBytes.h"
#include "Support/ScratchFolder.h"

namespace qmtest {

// A record image of the text-note size with recognisable contents.
inline Bytes SampleRecord(std::size_t length, unsigned char seed) {
  Bytes record(length);
  for (std::size_t i = 0; i < length; ++i) record[i] = static_cast<unsigned char>(seed + i * 7);
  return record;
}

class DatabaseTest : public ::testing::Test {
 protected:
  void SetUp() override { gxClearFaults(); }
  void TearDown() override { gxClearFaults(); }

  std::string PathOf(const std::string& name) const { return folder_.PathOf(name); }

  // Allocates, writes and checksums one object as a store does; returns its address.
  static std::uint32_t AddObject(gxDatabase& db, const Bytes& object) {
    const std::uint32_t address = db.Allocate(static_cast<std::uint32_t>(object.size()));
    if (address == 0) return 0;
    if (db.WriteAt(object.data(), static_cast<std::uint32_t>(object.size()), address, true, true) != 0)
      return 0;
    if (db.StoreChecksum(address) == 0) return 0;
    return address;
  }

  ScratchFolder folder_{"qm-db"};
};

}  // namespace qmtest

#endif  // QUILLMATE_TESTS_DATABASE_DATABASETESTSUPPORT_H
