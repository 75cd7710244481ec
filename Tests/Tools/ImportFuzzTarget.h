// The fuzz target of qmdb's readers of foreign files: shared by the libFuzzer
// executable FuzzImport and by the regression test that replays its seeds
// and every input that once failed, in both builds.
#ifndef QUILLMATE_TESTS_TOOLS_IMPORTFUZZTARGET_H
#define QUILLMATE_TESTS_TOOLS_IMPORTFUZZTARGET_H

#include <cstddef>
#include <cstdint>

// Reads data as a vCard file, as an HTML bookmarks file and as iCalendar
// content lines. What a reader accepts is filled into records as import
// fills them, written out again as export writes it, and read back: that
// must parse and give the same number of records. Always returns 0; faults
// show up as sanitizer reports, a hang, or an abort on a broken invariant.
int QmFuzzImport(const std::uint8_t* data, std::size_t size);

#endif  // QUILLMATE_TESTS_TOOLS_IMPORTFUZZTARGET_H
