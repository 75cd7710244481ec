// Replays every seed of the fuzz corpus and every input that once crashed the
// fuzzer through the fuzz target, natively and under Wine.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "DatabaseFuzzTarget.h"

namespace {

std::vector<std::filesystem::path> InputsIn(const char* folder) {
  std::vector<std::filesystem::path> inputs;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error))
    if (entry.is_regular_file() && entry.path().filename().string()[0] != '.') inputs.push_back(entry.path());
  return inputs;
}

void Replay(const char* folder, std::size_t expectAtLeast) {
  const std::vector<std::filesystem::path> inputs = InputsIn(folder);
  EXPECT_GE(inputs.size(), expectAtLeast) << folder;
  for (const auto& input : inputs) {
    SCOPED_TRACE(input.string());
    std::ifstream in(input, std::ios::binary);
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(QmFuzzDatabase(bytes.data(), bytes.size()), 0);
  }
}

TEST(DatabaseFuzzRegression, SeedCorpusRunsClean) { Replay(QM_FUZZ_CORPUS_DIR, 8); }

TEST(DatabaseFuzzRegression, EveryFormerCrashRunsClean) { Replay(QM_FUZZ_REGRESSIONS_DIR, 0); }

}  // namespace
