#pragma once
#include "run/run_state.hpp"

namespace vorlane::averaging {

// Prints the table of internal agreement factors for up to five classes of reflections, each
// over all, greater-than and less-than sets, then the sigma-ratio line. Keeps RINT and RSIG of
// the "All Reflections" class over all sets in rs.res for the CIF fragment.
void CALC_RINT(run::RunState& rs);

}  // namespace vorlane::averaging
