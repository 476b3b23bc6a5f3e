#pragma once
// The end of a run for its files, the same for every front end: a run that finished puts its
// output data file and the files beside it in place; one that halted leaves every existing
// file as it was and no temporary file behind.
namespace vorlane::run {

struct RunState;

// Commits the staged files when the halt flag is clear (a file that cannot be completed or put
// in place is then a fatal error naming it, and the rest are given up); discards them otherwise.
void settle_outputs(RunState& rs);

}  // namespace vorlane::run
