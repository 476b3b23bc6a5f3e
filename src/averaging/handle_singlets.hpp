#pragma once
// Singlets: one-member sets get their per-set values, their sigmas possibly scaled by the
// sigma ratio of the averaged sets after asking the user.
#include <string>

#include "run/run_state.hpp"

namespace vorlane::averaging {

// Sets SIGFACT and FAVE, SIGAVE, SIGINT, SIGEXT, SIGINT2, SIGEXT2 of every set with NEQ = 1.
// Does nothing when there is no singlet.
void HANDLE_SINGLETS(run::RunState& rs);

// The line the sigma-ratio question shows: its text followed by RATIO in F7.2.
std::string sigma_ratio_line(float RATIO);

// The print-file record written when singlets would be offered the ratio but no averaged set
// contributed to it (NRATIO = 0): their sigmas are kept and nobody is asked.
inline constexpr const char* NO_RATIO_RECORD =
    " NO AVERAGED OBSERVED SETS: SINGLET SIGMAS NOT SCALED";

}  // namespace vorlane::averaging
