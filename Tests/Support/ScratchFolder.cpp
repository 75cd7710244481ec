// The scratch folder's name: unique across processes and runs (random number
// and clock ticks), and short enough that attachment paths inside it stay
// well under MAX_PATH under Wine.
#include "Support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <cctype>
#include <chrono>
#include <random>
#include <system_error>

namespace qmtest {

namespace {

constexpr std::size_t kMaxNameLength = 40;

std::string RunningTestName() {
  const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = info != nullptr ? info->name() : "no-test";
  name = name.substr(0, kMaxNameLength);
  // Parameterised tests are named "Case/0": no sub-folders.
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_') c = '-';
  }
  return name;
}

}  // namespace

ScratchFolder::ScratchFolder(const std::string& prefix) {
  std::random_device random;
  const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
  m_path = std::filesystem::temp_directory_path() /
           (prefix + "-" + RunningTestName() + "-" + std::to_string(random()) + "-" + std::to_string(ticks));
  std::filesystem::create_directories(m_path);
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(m_path, ignored);
}

}  // namespace qmtest
