#pragma once
// Whether the data contradict a space group given by the user.
#include <string>
#include <vector>

#include "symmetry_analysis/analysis.hpp"

namespace vorlane::symmetry_analysis {

struct GivenGroupCheck {
  bool checked = false;       // the analysis had an answer and gemmi knows the group
  bool contradicted = false;
  double laue_probability = 0.0;  // of the group's Laue class (0 when not a candidate)
  int n_absent = 0;               // unique reflections (merged under its Laue class) it declares absent
  int n_absent_strong = 0;        // of them above 3 sigma (sigma with the 2 % floor)
};

// The group `symbol` (gemmi's name, in the cell as given) against the data: contradicted when
// its Laue class has a probability below 0.05 (when the analysis needed no reindexing), or
// when more than 1 % of the reflections it declares absent are above 3 sigma: the median of a
// reflection's measurements against the sigma of their weighted mean with a floor of 2 % of
// the mean intensity of its resolution shell (lambda/2 and multiple diffraction stay below
// it; an outlier among the measurements does not count), and at least three are (one or two
// strong ones are what multiple diffraction gives a short list).
inline constexpr int MIN_STRONG_ABSENT = 3;

// Whether the strong absent reflections of `check` contradict the group.
bool absences_contradicted(const GivenGroupCheck& check);

GivenGroupCheck check_given_group(const std::vector<Measurement>& data, const Analysis& a,
                                  const std::string& symbol);

}  // namespace vorlane::symmetry_analysis
