// qmdb: the command-line companion for Quillmate's database files.
#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "QmdbCommands.h"

int main(int argc, char** argv) {
#ifdef SIGXFSZ
  // A file-size limit must fail the write (and let import put the store
  // back), not end the process half-way through it.
  std::signal(SIGXFSZ, SIG_IGN);
#endif
  std::vector<std::string> arguments(argv + 1, argv + argc);
  int result = RunQmdb(arguments, std::cin, std::cout, std::cerr);
  std::cout.flush();
  return result;
}
