// The inputs of a fuzz corpus or regression folder in the source tree, for
// the replay tests that run them through a fuzz target in both builds.
#ifndef QUILLMATE_TESTS_SUPPORT_CORPUSINPUTS_H
#define QUILLMATE_TESTS_SUPPORT_CORPUSINPUTS_H

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace qmtest {

// The regular files of the folder (a Unix path from CMake, reached as
// ReachablePath does), sorted; hidden files such as ".keep" left out. Empty
// when the folder cannot be read.
std::vector<std::filesystem::path> CorpusInputs(const std::string& folder);

std::vector<std::uint8_t> InputBytes(const std::filesystem::path& input);

}  // namespace qmtest

#endif  // QUILLMATE_TESTS_SUPPORT_CORPUSINPUTS_H
