#pragma once
// The scale of the output intensities. Without a SCALE card the written intensities are kept
// readable: when one would not fit its field the scale is divided by the smallest power of
// ten that makes every one fit, and when the largest is positive and below 1 it is multiplied
// by the power of ten that brings it into [1000, 10000). Nothing is then left out for its
// size. With a SCALE card the user's factor stands, and an intensity that does not fit is a
// fatal error naming the reflection and the largest scale that fits.
#include <string>

#include "run/run_state.hpp"

namespace vorlane::output {

// Sets OSCALE for the output and, when it changed, returns the note that says so (also given
// as a warning); empty otherwise. May end the run with a fatal error.
std::string choose_output_scale(run::RunState& rs);

// "1E-1", "1E+7": the power of ten the output was scaled by.
std::string power_of_ten_text(int k);

}  // namespace vorlane::output
