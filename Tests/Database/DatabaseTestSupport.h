// Helpers shared by the database tests: a unique scratch folder per test and
// raw byte access to database files, so tests can check and damage the bytes
// on disk behind the engine's back.
#ifndef QUILLMATE_TESTS_DATABASE_DATABASETESTSUPPORT_H
#define QUILLMATE_TESTS_DATABASE_DATABASETESTSUPPORT_H

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "Database/gxDatabase.h"
#include "Database/gxFaultInjection.h"

namespace qmtest {

using Bytes = std::vector<unsigned char>;

inline Bytes ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFileBytes(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline std::uint32_t Word(const Bytes& bytes, std::size_t offset) {
  return static_cast<std::uint32_t>(bytes.at(offset)) | (static_cast<std::uint32_t>(bytes.at(offset + 1)) << 8) |
         (static_cast<std::uint32_t>(bytes.at(offset + 2)) << 16) |
         (static_cast<std::uint32_t>(bytes.at(offset + 3)) << 24);
}

inline void PatchWord(const std::string& path, std::size_t offset, std::uint32_t value) {
  Bytes bytes = ReadFileBytes(path);
  for (int i = 0; i < 4; ++i) bytes.at(offset + i) = static_cast<unsigned char>(value >> (8 * i));
  WriteFileBytes(path, bytes);
}

// A record image of the text-note size with recognisable contents.
inline Bytes SampleRecord(std::size_t length, unsigned char seed) {
  Bytes record(length);
  for (std::size_t i = 0; i < length; ++i) record[i] = static_cast<unsigned char>(seed + i * 7);
  return record;
}

// Every test gets its own folder under the system's temporary folder, removed afterwards.
class DatabaseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gxClearFaults();
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::random_device random;
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    folder_ = std::filesystem::temp_directory_path() /
              ("qm-db-" + std::string(info->test_suite_name()) + "-" + info->name() + "-" +
               std::to_string(random()) + "-" + std::to_string(ticks));
    std::filesystem::create_directories(folder_);
  }

  void TearDown() override {
    gxClearFaults();
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  std::string PathOf(const std::string& name) const { return (folder_ / name).string(); }

  // Allocates, writes and checksums one object as a store does; returns its address.
  static std::uint32_t AddObject(gxDatabase& db, const Bytes& object) {
    const std::uint32_t address = db.Allocate(static_cast<std::uint32_t>(object.size()));
    if (address == 0) return 0;
    if (db.WriteAt(object.data(), static_cast<std::uint32_t>(object.size()), address, true, true) != 0) return 0;
    if (db.StoreChecksum(address) == 0) return 0;
    return address;
  }

  std::filesystem::path folder_;
};

}  // namespace qmtest

#endif  // QUILLMATE_TESTS_DATABASE_DATABASETESTSUPPORT_H
