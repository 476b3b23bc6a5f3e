#pragma once
#include "run/run_state.hpp"

namespace vorlane::output {

// The reflection listing by equivalent set: every set with its flag, average, the four
// sigmas, member counts and all member intensities with their rejection marks, then the
// singly-measured reflections. Values are listed as stored, without the output scale.
void PRINTDATA(run::RunState& rs);

// Decimals of a listing line: as many as `largest` (the largest positive intensity of the set,
// else 0) allows in seven columns (0 when it does not fit), but no more than the sigma needs
// to show two significant digits and never fewer than two on that account.
int listing_decimals(float largest, float SIGAVE);

}  // namespace vorlane::output
