#pragma once
#include <istream>
#include <ostream>
#include <string>
#include <vector>

namespace vorlane::frontend {

struct CliStreams {
  std::istream& in;
  std::ostream& out;
  std::ostream& err;
  bool interactive = false;  // standard input and error are a terminal: questions may be asked
};

// The whole command line: parses `args` (without the program name), opens the four files,
// runs the reduction and reports. Returns the exit status: 0 finished, 1 halted, 2 usage error
// or a file that cannot be opened.
int run_cli(const std::vector<std::string>& args, CliStreams io);

}  // namespace vorlane::frontend
