#pragma once
// The complete set the shell completeness is measured against, in the grouping the run used
// (Friedel mates merged unless FRIEDEL NOFLIP), absences removed, to 1/d <= inv_d_max; with
// an OPENING card each entry says whether the cell lets any of its equivalents through.
//
// Without an OPENING card it is the complete set of the CIF's fractions; with one, the
// enumeration also marks each orbit the cell lets through.
#include "run/run_state.hpp"
#include "statistics/compute_statistics.hpp"

namespace vorlane::pipeline {

statistics::PossibleSet possible_reflections(const run::RunState& rs, double inv_d_max);

}  // namespace vorlane::pipeline
