// Helpers for the record tests: a scratch folder per test that also plays the
// application-data folder, raw access to file bytes, and a message-box script
// that records every box and answers OK.
#ifndef QUILLMATE_TESTS_RECORDS_RECORDSTESTSUPPORT_H
#define QUILLMATE_TESTS_RECORDS_RECORDSTESTSUPPORT_H

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "Database/gxFaultInjection.h"
#include "Records/DataFolders.h"
#include "Records/MessageBoxSeam.h"

namespace qmrecords {

using Bytes = std::vector<unsigned char>;

inline Bytes ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFileBytes(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline std::uint32_t WordAt(const Bytes& bytes, std::size_t offset) {
  return static_cast<std::uint32_t>(bytes.at(offset)) |
         (static_cast<std::uint32_t>(bytes.at(offset + 1)) << 8) |
         (static_cast<std::uint32_t>(bytes.at(offset + 2)) << 16) |
         (static_cast<std::uint32_t>(bytes.at(offset + 3)) << 24);
}

struct ShownBox {
  void* owner;
  std::string text;
  std::string caption;
  unsigned style;
};

// Every test: its own folder (the application-data folder while it runs),
// faults cleared, and message boxes recorded and answered by `answer`.
class RecordsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gxClearFaults();
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::random_device random;
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    folder_ = std::filesystem::temp_directory_path() /
              ("qm-rec-" + std::string(info->name()) + "-" + std::to_string(random()) + "-" +
               std::to_string(ticks));
    std::filesystem::create_directories(folder_);
    appData_ = std::make_unique<ScopedApplicationDataFolder>(folder_.string());
    boxes_ = std::make_unique<ScopedMessageBoxScript>(
        [this](void* owner, const char* text, const char* caption, unsigned style) {
          shown_.push_back({owner, text, caption, style});
          return answer_;
        });
  }

  void TearDown() override {
    gxClearFaults();
    boxes_.reset();
    appData_.reset();
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  std::string PathOf(const std::string& name) const { return (folder_ / name).string(); }

  std::filesystem::path folder_;
  std::vector<ShownBox> shown_;
  int answer_ = kIdOk;

 private:
  std::unique_ptr<ScopedApplicationDataFolder> appData_;
  std::unique_ptr<ScopedMessageBoxScript> boxes_;
};

}  // namespace qmrecords

#endif  // QUILLMATE_TESTS_RECORDS_RECORDSTESTSUPPORT_H
