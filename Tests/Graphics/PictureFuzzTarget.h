// The fuzz target of the picture decoders, shared by the libFuzzer
// executables (one per format). An input it ever fails on belongs in a
// decoding test of both builds.
#ifndef QUILLMATE_TESTS_GRAPHICS_PICTUREFUZZTARGET_H
#define QUILLMATE_TESTS_GRAPHICS_PICTUREFUZZTARGET_H

#include <cstddef>
#include <cstdint>

// A smaller budget than the program's keeps each run within libFuzzer's
// memory limit while still exercising the refusal of larger pictures.
constexpr std::uint64_t kFuzzPixelBudget = 1u << 20;

// Decodes data as the format; an accepted picture is copied, flattened and
// checked to be whole (aborting if not). Always returns 0.
int QmFuzzPicture(int format, const std::uint8_t* data, std::size_t size);

#endif  // QUILLMATE_TESTS_GRAPHICS_PICTUREFUZZTARGET_H
