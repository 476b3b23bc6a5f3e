#pragma once
// The command line: vorlane [options] EXPFILE PRINTFILE INFILE OUTFILE
#include <optional>
#include <string>
#include <vector>

namespace vorlane::frontend {

enum class SigmaRatioAnswer { ask, apply, keep };

struct CliOptions {
  std::string exp_file, print_file, input_file, output_file;
  int in_format = -1;   // -1 decide from the name
  int out_format = -1;
  std::optional<SigmaRatioAnswer> sigma_ratio;  // unset: ask on a terminal, keep otherwise
  int sigma = -1;       // -1 as the experiment file says, 0 spread, 1 sigma of the mean
  int friedel = -1;     // -1 as the experiment file says, 0 merge, 1 keep apart
  int shells = 10;    // --shells N: resolution shells of the shell tables
  bool html_report = true;  // --report none|html
  bool help = false;
  bool version = false;
};

struct CliParse {
  CliOptions options;
  std::string error;  // non-empty: a usage error
};

CliParse parse_cli(const std::vector<std::string>& args);

std::string cli_usage();
std::string cli_help();

}  // namespace vorlane::frontend
