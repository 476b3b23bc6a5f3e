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
  // A run allocates large tables and frees them as it goes (the reader's, the statistics',
  // the figures', the listing's). One heap for every thread, which keeps what is freed until
  // the run ends, gives a later table the pages of an earlier one: a fresh page from the
  // system costs a fault and its clearing, and these were a tenth of a run's time. The peak
  // stays about that of the reading (blocks of 32 MB and more, the members of a large run,
  // still come from the system and go back to it at once).
  mallopt(M_ARENA_MAX, 1);
  mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
  mallopt(M_TRIM_THRESHOLD, 1 << 30);
#endif
  std::vector<std::string> args(argv + 1, argv + argc);
  const bool interactive = isatty(STDIN_FILENO) != 0 && isatty(STDERR_FILENO) != 0;
  return vorlane::frontend::run_cli(args, {std::cin, std::cout, std::cerr, interactive});
}
