#pragma once
// The two member tests of averaging (after Blessing, 1987): the DAC-dip test, which rejects
// members lying too far below the set mean (a diamond-anvil cell shadowing the beam), and the
// outlier test, which rejects members too far from the mean on either side.
#include <array>
#include <span>

#include "averaging/average_data_sums.hpp"
#include "run/reflection_list.hpp"

namespace vorlane::averaging {

// The set-wide part of the statistics a test compares against.
struct SetSpread {
  double M = 0.0;     // mean
  double EXT1 = 0.0;  // rms of the member sigmas
  double INT1 = 0.0;  // sample standard deviation of the members
};

// DAC-dip test on a set whose members all have IREJ = 0: marks dips with IREJ = 1.
// Returns the number rejected.
int reject_dac_dips(std::span<run::Member> members, std::span<const SortedMember> sorted,
                    const SetSpread& spread, const std::array<float, 4>& BLESS, int NAVE);

// Outlier test over the members still accepted: marks outliers with IREJ = 2. Returns the
// number rejected.
int reject_outliers(std::span<run::Member> members, std::span<const SortedMember> sorted,
                    const SetSpread& spread, const std::array<float, 4>& BLESS, int NAVE);

}  // namespace vorlane::averaging
