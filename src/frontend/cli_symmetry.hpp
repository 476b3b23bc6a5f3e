#pragma once
// `vorlane symmetry [--json FILE] [--tolerance DEG] EXPFILE INFILE`, or without the
// experiment file `[--cell a b c alpha beta gamma] [--wavelength L] INFILE` (else from INFILE's
// header): the symmetry of the data (centring, Laue class, space group, intensity statistics)
// from the cell and the measurements of the input file.
#include <string>
#include <vector>

#include "frontend/cli_run.hpp"
#include "symmetry_analysis/analysis.hpp"

namespace vorlane::frontend {

// `args` without the program name and the word "symmetry". Returns 0 with an answer, 1 when
// the symmetry is not determinable (or the data cannot be read), 2 for a usage error or a
// file that cannot be opened.
int run_symmetry_cli(const std::vector<std::string>& args, CliStreams io);

// The analysis as JSON (numbers to four significant digits), ending with a newline.
std::string symmetry_json(const symmetry_analysis::Analysis& a, const std::string& given_group);

}  // namespace vorlane::frontend
