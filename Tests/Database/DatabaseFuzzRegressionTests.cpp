// Replays every seed of the fuzz corpus and every input that once crashed the
// fuzzer through the fuzz target, natively and under Wine.
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "DatabaseFuzzTarget.h"
#include "Support/CorpusInputs.h"

namespace {

void Replay(const char* folder, std::size_t expectAtLeast) {
  const std::vector<std::filesystem::path> inputs = qmtest::CorpusInputs(folder);
  EXPECT_GE(inputs.size(), expectAtLeast) << folder;
  for (const auto& input : inputs) {
    SCOPED_TRACE(input.string());
    const std::vector<std::uint8_t> bytes = qmtest::InputBytes(input);
    EXPECT_EQ(QmFuzzDatabase(bytes.data(), bytes.size()), 0);
  }
}

TEST(DatabaseFuzzRegression, SeedCorpusRunsClean) {
  Replay(QM_FUZZ_CORPUS_DIR, 8);
}

TEST(DatabaseFuzzRegression, EveryFormerCrashRunsClean) {
  Replay(QM_FUZZ_REGRESSIONS_DIR, 0);
}

}  // namespace
