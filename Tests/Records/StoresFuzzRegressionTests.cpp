// Replays the store fuzzer's seeds and every input that once failed, in both
// builds, so a fault found on the host stays fixed under Windows too.
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "StoresFuzzTarget.h"
#include "Support/CorpusInputs.h"

namespace {

int ReplayFolder(const char* folder) {
  int replayed = 0;
  for (const std::filesystem::path& input : qmtest::CorpusInputs(folder)) {
    const std::vector<std::uint8_t> bytes = qmtest::InputBytes(input);
    SCOPED_TRACE(input.string());
    QmFuzzStores(bytes.data(), bytes.size());
    ++replayed;
  }
  return replayed;
}

TEST(StoresFuzzRegression, SeedsAndFormerFailuresWalkCleanly) {
  EXPECT_GT(ReplayFolder(QM_STORES_FUZZ_CORPUS), 0);
  EXPECT_GT(ReplayFolder(QM_STORES_FUZZ_REGRESSIONS), 0);
}

}  // namespace
