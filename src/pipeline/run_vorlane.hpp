#pragma once
#include "run/run_state.hpp"

namespace vorlane::run {

// One complete data reduction on open run files, stage by stage, returning at the first stage
// that raised the halt flag. A condition that stops the program (records::ProgramStop) ends the
// run as halted: IHALT = 1 and the fatal-error box is shown, the message having gone to the
// print file or, for the table overflows, to standard output through the Dialogs.
void RUN_VORLANE(RunState& rs);

}  // namespace vorlane::run
