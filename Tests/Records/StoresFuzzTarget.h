// The record-store fuzz target: shared by the libFuzzer executable FuzzStores
// and by the regression test that replays the seeds and every input that
// once failed.
#ifndef QUILLMATE_TESTS_RECORDS_STORESFUZZTARGET_H
#define QUILLMATE_TESTS_RECORDS_STORESFUZZTARGET_H

#include <cstddef>
#include <cstdint>

// Writes data to a scratch file and walks it as a store of several kinds
// (message boxes answered silently), then changes, deletes and adds a record
// in it. Always returns 0; faults show up as sanitizer reports, a hang, or an
// abort when a walk breaks its invariants (addresses rising, inside the heap).
int QmFuzzStores(const std::uint8_t* data, std::size_t size);

#endif  // QUILLMATE_TESTS_RECORDS_STORESFUZZTARGET_H
