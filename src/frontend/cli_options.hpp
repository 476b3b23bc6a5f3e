#pragma once
// The command line: vorlane [options] EXPFILE PRINTFILE INFILE OUTFILE, or without an
// experiment file vorlane [options] INFILE [OUTFILE]
#include <optional>
#include <string>
#include <vector>

#include "frontend/run_settings.hpp"

namespace vorlane::frontend {

enum class SigmaRatioAnswer { ask, apply, keep };

inline constexpr int IN_FORMAT_XDS = 2;
inline constexpr int IN_FORMAT_CIF = 3;
inline constexpr int IN_FORMAT_MTZ = 4;
inline constexpr int OUT_FORMAT_MTZ = 2;

struct CliOptions {
  // exp_file and print_file are empty in a run without an experiment file.
  std::string exp_file, print_file, input_file, output_file;
  int in_format = -1;   // -1 decide from the content and the name; 0 zezor, 1 shelx, then
                        // IN_FORMAT_XDS, IN_FORMAT_CIF, IN_FORMAT_MTZ
  int out_format = -1;  // -1 decide from the name; 0 zezor, 1 shelx, OUT_FORMAT_MTZ
  RunSettings settings;  // the options of a run without an experiment file
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
