// vorlane: the command line. All work is in the libraries; this only wires the terminal.
#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "frontend/cli_run.hpp"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  const bool interactive = isatty(STDIN_FILENO) != 0 && isatty(STDERR_FILENO) != 0;
  return vorlane::frontend::run_cli(args, {std::cin, std::cout, std::cerr, interactive});
}
