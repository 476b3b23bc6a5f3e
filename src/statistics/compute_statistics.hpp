#pragma once
// The shell table, the batch table, the normal probability analysis, the set-size histogram
// and the rejection counts of a run, from the sets as they stand after classification.
#include <vector>

#include "expfile/run_controls.hpp"
#include "run/reflection_list.hpp"
#include "statistics/written_sets.hpp"
#include "statistics/resolution.hpp"
#include "statistics/statistics.hpp"

namespace vorlane::statistics {

// The complete set the completeness is measured against: every unique reflection the run's
// symmetry and Friedel setting allow (absences removed) to at least the data's resolution.
struct PossibleSet {
  bool known = false;               // false: no cell, no completeness
  std::vector<double> inv_d;        // 1/d of each unique reflection, 1/Å
  std::vector<char> accessible;     // per entry, with an OPENING card; empty otherwise
  // Per set of the list, with an OPENING card: whether any equivalent of its reflection is
  // accessible. The DAC completeness counts the measured sets the cell lets through.
  std::vector<char> set_accessible;
};

inline constexpr int DEFAULT_SHELLS = 10;
inline constexpr std::size_t MAX_PLOT_POINTS = 2000;
// Deviations the normal probability fit takes at most (a fixed sample beyond that).
inline constexpr std::size_t MAX_FIT_POINTS = 100000;

Statistics compute_statistics(const run::ReflectionList& list, const expfile::RunControls& ctl,
                              const SetResolution& resolution, const PossibleSet& possible,
                              int n_shells);

// Measurements not passed on, by the first reason that applies.
RejectionCounts rejection_counts(const run::ReflectionList& list, const expfile::RunControls& ctl,
                                 const LeftOut* left_out = nullptr);

// The quantile of the standard normal distribution at p (0 < p < 1).
double normal_quantile(double p);

// Fills slope, intercept and at most `max_points` points, evenly spaced in rank, from the
// deviations (sorted here; single precision keeps a million of them small and quick to sort).
NormalProbability normal_probability(std::vector<float> deviations, std::size_t max_points);

}  // namespace vorlane::statistics
