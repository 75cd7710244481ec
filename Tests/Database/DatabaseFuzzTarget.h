// The database fuzz target: shared by the libFuzzer executable and by the
// regression test that replays the corpus and every crash found so far.
#ifndef QUILLMATE_TESTS_DATABASE_DATABASEFUZZTARGET_H
#define QUILLMATE_TESTS_DATABASE_DATABASEFUZZTARGET_H

#include <cstddef>
#include <cstdint>

// Treats data as a database file image and runs operations derived from its
// last bytes against it. Always returns 0; faults show up as sanitizer reports
// or as a failed engine invariant (which aborts).
int QmFuzzDatabase(const std::uint8_t* data, std::size_t size);

#endif  // QUILLMATE_TESTS_DATABASE_DATABASEFUZZTARGET_H
