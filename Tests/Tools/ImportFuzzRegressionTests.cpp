// Replays the seeds of the readers' fuzzer and every input that once failed,
// in both builds, so a fault found on the host stays fixed under Windows too.
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "ImportFuzzTarget.h"
#include "Support/CorpusInputs.h"

namespace {

int ReplayFolder(const char* folder) {
  int replayed = 0;
  for (const std::filesystem::path& input : qmtest::CorpusInputs(folder)) {
    const std::vector<std::uint8_t> bytes = qmtest::InputBytes(input);
    SCOPED_TRACE(input.string());
    QmFuzzImport(bytes.data(), bytes.size());
    ++replayed;
  }
  return replayed;
}

TEST(ImportFuzzRegression, SeedsAndFormerFailuresReadCleanly) {
  EXPECT_GT(ReplayFolder(QM_IMPORT_FUZZ_CORPUS), 0);
  ReplayFolder(QM_IMPORT_FUZZ_REGRESSIONS);
}

}  // namespace
