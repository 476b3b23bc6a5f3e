#pragma once

namespace vorlane::symmetry_analysis {

// The prior weight of space-group number `number` (1-230): its frequency among published
// small-molecule structures, with a floor for the rare ones.
double space_group_prior(int number);

}  // namespace vorlane::symmetry_analysis
