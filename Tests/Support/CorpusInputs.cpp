// Sorted so that a failure's trace names the same input on every run.
#include "Support/CorpusInputs.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <system_error>

#include "Support/ReachablePath.h"

namespace qmtest {

std::vector<std::filesystem::path> CorpusInputs(const std::string& folder) {
  std::vector<std::filesystem::path> inputs;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(ReachablePath(folder), error)) {
    if (entry.is_regular_file() && entry.path().filename().string()[0] != '.') inputs.push_back(entry.path());
  }
  std::sort(inputs.begin(), inputs.end());
  return inputs;
}

std::vector<std::uint8_t> InputBytes(const std::filesystem::path& input) {
  std::ifstream in(input, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace qmtest
