#pragma once
// The print file's completeness block: the figures of the CIF fragment (counts written, theta
// range, Laue and point-group completeness to theta_max and theta_full, Friedel coverage).
#include "run/run_state.hpp"

namespace vorlane::output {

// Writes rs.res.figures (filled by the CIF stage) to the print file.
void PRINT_COMPLETENESS(run::RunState& rs);

}  // namespace vorlane::output
