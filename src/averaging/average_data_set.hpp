#pragma once
// Averaging of one equivalent set of two or more members: spread statistics, the DAC-dip and
// outlier tests chosen by IREJMODE, the average and its output sigma.
#include <optional>
#include <span>
#include <vector>

#include "averaging/average_data_sums.hpp"
#include "expfile/run_controls.hpp"
#include "run/reflection_list.hpp"

namespace vorlane::averaging {

// Sets IREJ of every member and NAVE, FAVE, SIGAVE, SIGINT, SIGEXT, SIGINT2, SIGEXT2 of the
// set. Returns the set's term SIGAVE/EXT1 of the sigma ratio when it is an averaged
// greater-than (LTHRESH*SIGAVE < FAVE) that has one and the output sigma is the spread of one
// observation; otherwise nothing. `scratch` is working storage kept between sets.
std::optional<float> average_data_set(run::EquivSet& set, std::span<run::Member> members,
                                      const expfile::RunControls& ctl,
                                      std::vector<SortedMember>& scratch);

// The 1/sigma^2-weighted mean of the accepted members and its sigma: the larger of the
// external sigma of the mean, sqrt(1/sum w), and the internal one,
// sqrt(sum w (x - mean)^2 / ((n - 1) sum w)). A member with sigma 0 is weighted as if its
// sigma were the smallest non-zero sigma of the set (equal weights when none is non-zero).
struct WeightedMean {
  double mean = 0.0;
  double external = 0.0;
  double internal = 0.0;
};
WeightedMean weighted_mean(std::span<const SortedMember> sorted,
                           std::span<const run::Member> members);

}  // namespace vorlane::averaging
