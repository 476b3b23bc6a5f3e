#pragma once
// The averaging stage: every equivalent set of two or more members is averaged with the
// DAC-dip and outlier tests; singlets are only counted; the sigma ratio is accumulated.
#include "run/run_state.hpp"

namespace vorlane::averaging {

// Writes IREJ, NAVE, FAVE, SIGAVE, SIGINT, SIGEXT, SIGINT2, SIGEXT2 of every set with two or
// more members, and NSINGLET, RATIO, NRATIO. Sets are walked in the order of first appearance.
void AVERAGE_DATA(run::RunState& rs);

}  // namespace vorlane::averaging
