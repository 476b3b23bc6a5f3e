// vorlane: the command line. All work is in the libraries; this only wires the terminal.
#include <unistd.h>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <iostream>
#include <string>
#include <vector>

#include "frontend/cli_run.hpp"

int main(int argc, char** argv) {
#if defined(__GLIBC__)
  // A run frees large tables as it goes (the reader's, the statistics', the listing's). With a
  // fixed threshold they come from and go back to the system at once; the allocator's moving
  // threshold would keep them in the heap and the run's memory would keep growing.
  mallopt(M_MMAP_THRESHOLD, 256 * 1024);
#endif
  std::vector<std::string> args(argv + 1, argv + argc);
  const bool interactive = isatty(STDIN_FILENO) != 0 && isatty(STDERR_FILENO) != 0;
  return vorlane::frontend::run_cli(args, {std::cin, std::cout, std::cerr, interactive});
}
