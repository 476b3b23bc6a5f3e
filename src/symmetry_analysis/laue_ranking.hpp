#pragma once
// Laue classes ranked by the symmetry elements they hold and lack.
#include <vector>

#include "symmetry_analysis/element_scores.hpp"
#include "symmetry_analysis/lattice_symmetry.hpp"

namespace vorlane::symmetry_analysis {

struct LaueRow {
  LaueCandidate candidate;
  double log_likelihood = 0.0;
  double probability = 0.0;
};

// Every candidate class scored as the product of p(cc | present) over its elements and
// p(cc | absent) over the others (elements of too few pairs left out), normalised to
// probabilities; ranked by probability, then by the size of the group (larger first).
std::vector<LaueRow> rank_laue_classes(const LatticeSymmetry& lattice,
                                       const ElementScoring& scoring);

// When twinning is suspected a twin law can imitate a symmetry element: half of each class's
// probability is shared out evenly among that class and its subgroups.
void lower_confidence_for_twinning(std::vector<LaueRow>& rows);

}  // namespace vorlane::symmetry_analysis
