// Paths of the source and build trees, which CMake hands to tests as Unix
// paths, as this process can open them.
#ifndef QUILLMATE_TESTS_SUPPORT_REACHABLEPATH_H
#define QUILLMATE_TESTS_SUPPORT_REACHABLEPATH_H

#include <string>

namespace qmtest {

// Natively the path itself; under Wine an absolute Unix path is reached
// through drive Z:, with backslashes.
std::string ReachablePath(std::string path);

}  // namespace qmtest

#endif  // QUILLMATE_TESTS_SUPPORT_REACHABLEPATH_H
