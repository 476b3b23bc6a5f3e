#pragma once
#include "run/run_state.hpp"

namespace vorlane::output {

// The summary of the run controls in the print file: title, data file names, the less-than
// level, the treatment of less-thans and space-group violations, rejection mode and output.
void PRINT_SUMMARY(run::RunState& rs);

}  // namespace vorlane::output
