#pragma once
#include "run/run_state.hpp"

namespace vorlane::averaging {

// Counts what happened to every reflection and every set after classification and prints the
// summary of averaging. Keeps in rs.res the counts the CIF fragment reports.
void TOTALS(run::RunState& rs);

}  // namespace vorlane::averaging
