// The replay that a fuzz target's regression test runs over its seeds and
// former failures, in both builds: every input of a folder through the
// target, each named in the trace of whatever it trips.
#ifndef QUILLMATE_TESTS_SUPPORT_CORPUSREPLAY_H
#define QUILLMATE_TESTS_SUPPORT_CORPUSREPLAY_H

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "Support/CorpusInputs.h"

namespace qmtest {

// Returns the number of inputs replayed.
inline int ReplayCorpus(const char* folder, int (*target)(const std::uint8_t*, std::size_t)) {
  int replayed = 0;
  for (const std::filesystem::path& input : CorpusInputs(folder)) {
    const std::vector<std::uint8_t> bytes = InputBytes(input);
    SCOPED_TRACE(input.string());
    target(bytes.data(), bytes.size());
    ++replayed;
  }
  return replayed;
}

}  // namespace qmtest

#endif  // QUILLMATE_TESTS_SUPPORT_CORPUSREPLAY_H
