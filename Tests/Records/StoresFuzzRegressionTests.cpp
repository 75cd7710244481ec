// Replays the store fuzzer's seeds and every input that once failed, in both
// builds, so a fault found on the host stays fixed under Windows too.
#include <gtest/gtest.h>

#include "StoresFuzzTarget.h"
#include "Support/CorpusReplay.h"

namespace {

TEST(StoresFuzzRegression, SeedsAndFormerFailuresWalkCleanly) {
  EXPECT_GT(qmtest::ReplayCorpus(QM_STORES_FUZZ_CORPUS, QmFuzzStores), 0);
  EXPECT_GT(qmtest::ReplayCorpus(QM_STORES_FUZZ_REGRESSIONS, QmFuzzStores), 0);
}

}  // namespace
