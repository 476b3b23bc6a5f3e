#pragma once
// SPACEGROUP AUTO: the space group found from the measurements before they are merged.
namespace vorlane::run { struct RunState; }

namespace vorlane::pipeline {

// After the experiment file was read with SPACEGROUP AUTO: reads the input data once without
// symmetry (nothing of that reading is printed or kept but the measurements), rewinds the
// input, analyses the measurements, prints the tables, and makes the suggested group the
// run's group (rs.symmetry keeps the analysis, rs.res.space_group_choice says what was chosen
// and how sure it is). Fatal without a cell, when the data cannot be read or read again,
// when the symmetry is not determinable, and when the group found needs the data reindexed.
// Warns when the second candidate has at least a third of the first's probability, when the
// first cannot be told from others by intensities alone, and when twinning is suspected.
void space_group_from_data(run::RunState& rs);

}  // namespace vorlane::pipeline
