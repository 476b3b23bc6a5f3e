#pragma once
// Averaging of one equivalent set of two or more members: spread statistics, the DAC-dip and
// outlier tests chosen by IREJMODE, the average and its output sigma.
#include <optional>
#include <span>

#include "expfile/run_controls.hpp"
#include "run/reflection_list.hpp"

namespace vorlane::averaging {

// Sets IREJ of every member and NAVE, FAVE, SIGAVE, SIGINT, SIGEXT, SIGINT2, SIGEXT2 of the
// set. Returns the set's term SIGAVE/EXT1 of the sigma ratio when it is an averaged
// greater-than (LTHRESH*SIGAVE < FAVE) that has one; otherwise nothing.
std::optional<float> average_data_set(run::EquivSet& set, std::span<run::Member> members,
                                      const expfile::RunControls& ctl);

}  // namespace vorlane::averaging
