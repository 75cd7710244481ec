// Replays the seeds of the readers' fuzzer and every input that once failed,
// in both builds, so a fault found on the host stays fixed under Windows too.
#include <gtest/gtest.h>

#include "ImportFuzzTarget.h"
#include "Support/CorpusReplay.h"

namespace {

TEST(ImportFuzzRegression, SeedsAndFormerFailuresReadCleanly) {
  EXPECT_GT(qmtest::ReplayCorpus(QM_IMPORT_FUZZ_CORPUS, QmFuzzImport), 0);
  EXPECT_GT(qmtest::ReplayCorpus(QM_IMPORT_FUZZ_REGRESSIONS, QmFuzzImport), 0);
}

}  // namespace
