// qmdb: the command-line companion for Quillmate's database files.
#include <iostream>
#include <string>
#include <vector>

#include "QmdbCommands.h"

int main(int argc, char** argv) {
  std::vector<std::string> arguments(argv + 1, argv + argc);
  int result = RunQmdb(arguments, std::cin, std::cout, std::cerr);
  std::cout.flush();
  return result;
}
