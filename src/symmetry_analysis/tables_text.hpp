#pragma once
// The analysis as text tables, for the terminal and the print file.
#include <string>

#include "symmetry_analysis/analysis.hpp"

namespace vorlane::symmetry_analysis {

// Every table, then the closing line with the suggested group (or the reason it is not
// determinable).
std::string tables_text(const Analysis& a);

// The closing line alone: "Suggested space group: P 1 21/c 1 (No. 14), probability 0.962;
// experiment-file card: VORLAN SPACEGROUP P 1 21/c 1".
std::string suggestion_line(const Analysis& a);

// `v` with `decimals` decimals, right-aligned in `width` columns.
std::string fixed(double v, int decimals, int width = 0);

}  // namespace vorlane::symmetry_analysis
