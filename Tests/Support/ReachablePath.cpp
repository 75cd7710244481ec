// Drive Z: is Wine's default mapping of the Unix root.
#include "Support/ReachablePath.h"

namespace qmtest {

std::string ReachablePath(std::string path) {
#ifdef _WIN32
  if (!path.empty() && path[0] == '/') {
    for (char& c : path) c = c == '/' ? '\\' : c;
    path = "Z:" + path;
  }
#endif
  return path;
}

}  // namespace qmtest
