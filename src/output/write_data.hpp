#pragma once
#include "run/run_state.hpp"

namespace vorlane::output {

// Writes the output reflection file: one record per averaged set (IOUTAVE = 1) or one per
// accepted measurement, in the format OUTFMT, with intensities and sigmas scaled by OSCALE.
// Sets outside the 2theta limits, deleted space-group violations and (by the controls)
// less-thans and singlets are left out; violations retained as less-thans carry flag 2.
// A file that cannot be written completely is a fatal error.
void WRITEDATA(run::RunState& rs);

// WRITEDATA in two steps, for a run that writes the output file beside the listing: the
// records, with the overflow warnings held back (their count is returned; nothing reaches
// the print file or the messages), then the warnings and the checks of a complete file.
int write_output_records(run::RunState& rs);
void finish_output_file(run::RunState& rs, int held_warnings);

}  // namespace vorlane::output
