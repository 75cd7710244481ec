// The fuzz target of the RTF-to-text reader: shared by the libFuzzer
// executable FuzzRtfPlainText and by the test that replays its seeds.
#ifndef QUILLMATE_TESTS_SEARCH_RTFPLAINTEXTFUZZTARGET_H
#define QUILLMATE_TESTS_SEARCH_RTFPLAINTEXTFUZZTARGET_H

#include <cstddef>
#include <cstdint>

// Turns the bytes into plain text (code page 1252) and aborts when the text
// is longer than the input, when the status disagrees with the tokenizer's
// own check of the body, or when the word filter turns the body away for a
// word taken from its own text. Returns the text's length.
std::size_t QmFuzzRtfPlainText(const std::uint8_t* data, std::size_t size);

#endif  // QUILLMATE_TESTS_SEARCH_RTFPLAINTEXTFUZZTARGET_H
