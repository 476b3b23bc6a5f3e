#pragma once

namespace vorlane::symmetry_analysis {

// The percentage of the structures of the Cambridge Structural Database in space group
// `number` (1-230), as the CCDC published it (see the table's source in the .cpp); 0 for a
// number outside 1-230. Every setting of a group shares its group's figure.
double csd_space_group_percent(int number);

// The prior weight of space-group number `number` (1-230): its frequency among published
// small-molecule structures, raised to a floor for the rare ones.
double space_group_prior(int number);

}  // namespace vorlane::symmetry_analysis
