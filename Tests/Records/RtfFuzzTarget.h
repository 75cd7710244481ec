// The RTF tokenizer's fuzz target: shared by the libFuzzer executable
// FuzzRtfTokenizer and by the test that replays its seeds in both builds.
#ifndef QUILLMATE_TESTS_RECORDS_RTFFUZZTARGET_H
#define QUILLMATE_TESTS_RECORDS_RTFFUZZTARGET_H

#include <cstddef>
#include <cstdint>

// Walks the bytes as an RTF body and aborts when a token reaches outside the
// input, the depth leaves 0..1000, a call consumes nothing, a word or
// parameter passes its limit, or CheckRtfBody disagrees with the walk.
// Returns the number of tokens.
std::size_t QmFuzzRtfTokenizer(const std::uint8_t* data, std::size_t size);

#endif  // QUILLMATE_TESTS_RECORDS_RTFFUZZTARGET_H
