#pragma once
// Runs the vorlane program as a user would, in a folder of its own.
#include <string>

namespace vorlane::testing {

struct CliResult {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs `args` (already quoted as the shell needs) in `dir`, standard input from /dev/null.
CliResult run_vorlane(const std::string& dir, const std::string& args);

// Writes `text` to `path`.
void write_file(const std::string& path, const std::string& text);

}  // namespace vorlane::testing
