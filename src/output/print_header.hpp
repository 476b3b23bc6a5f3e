#pragma once
#include "output/clock.hpp"
#include "run/run_state.hpp"

namespace vorlane::output {

// The credit line of the banner: exactly the 43 characters between the frame's blanks.
inline constexpr char BANNER_CREDIT[] = "VORLANE single-crystal data reduction      ";
static_assert(sizeof(BANNER_CREDIT) - 1 == 43);

// The banner box and the run line (date and time of the run, experiment file name) that open
// every run's listing in the print file. The time is read from the run's clock (rs.clock).
void PRINT_HEADER(run::RunState& rs);
// The same with the date and time given.
void PRINT_HEADER(run::RunState& rs, const LocalTime& when);

}  // namespace vorlane::output
