// Replays the store fuzzer's seeds and every input that once failed, in both
// builds, so a fault found on the host stays fixed under Windows too.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "StoresFuzzTarget.h"

namespace {

// Under Wine a Unix path is reached through drive Z:.
std::filesystem::path SourceFolder(std::string path) {
#ifdef _WIN32
  if (!path.empty() && path[0] == '/') {
    for (char& c : path) c = c == '/' ? '\\' : c;
    path = "Z:" + path;
  }
#endif
  return path;
}

int ReplayFolder(const std::filesystem::path& folder) {
  int replayed = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (!entry.is_regular_file()) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
    SCOPED_TRACE(entry.path().string());
    QmFuzzStores(bytes.data(), bytes.size());
    ++replayed;
  }
  return replayed;
}

TEST(StoresFuzzRegression, SeedsAndFormerFailuresWalkCleanly) {
  EXPECT_GT(ReplayFolder(SourceFolder(QM_STORES_FUZZ_CORPUS)), 0);
  EXPECT_GT(ReplayFolder(SourceFolder(QM_STORES_FUZZ_REGRESSIONS)), 0);
}

}  // namespace
