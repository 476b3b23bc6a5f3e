#pragma once
// The shell table and the batch table of the print file, and the compact shell table of the
// terminal summary.
#include <string>
#include <vector>

#include "records/print_file.hpp"
#include "statistics/statistics.hpp"

namespace vorlane::report {

// Records (control character first) of the print file's shell and batch tables.
std::vector<std::string> statistics_records(const statistics::Statistics& st);

// Lines of the terminal summary's compact shell table (no control characters).
std::vector<std::string> compact_shell_lines(const statistics::Statistics& st);

// A figure in w columns with d decimals, or "-" right-justified when it cannot be formed.
std::string figure(double value, int width, int decimals);
// A ratio (R value, CC1/2) in w columns with d decimals, or "n/a" right-justified when it
// cannot be formed (no pairs, intensities summing to zero or less).
std::string ratio_figure(double value, int width, int decimals);

}  // namespace vorlane::report
