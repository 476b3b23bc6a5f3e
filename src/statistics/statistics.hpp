#pragma once
// Figures of a run by resolution shell and by batch, the normal probability analysis of the
// deviations and the rejection counts: what the print file's shell and batch tables, the
// stats JSON, the HTML report and the window show. Computed once per run from the written
// sets and their accepted members; nothing here changes an averaged value or a rejection.
#include <cstdint>
#include <string>
#include <vector>

namespace vorlane::statistics {

// One row of the shell table (and the overall row, which is the table's own). Ratios that
// cannot be formed (no sets of two or more members, an empty shell) are NaN.
struct ShellRow {
  double d_max = 0.0;  // Å, low-resolution edge
  double d_min = 0.0;  // Å, high-resolution edge
  std::int64_t n_obs = 0;     // accepted members of the written sets
  std::int64_t n_unique = 0;  // written sets
  double multiplicity = 0.0;
  double completeness = 0.0;      // n_unique / possible unique (run's grouping, absences out)
  // Measured unique the cell lets through / accessible unique; NaN without an OPENING card.
  double dac_completeness = 0.0;
  std::int64_t n_possible = 0;    // unique reflections the shell can hold (absences out)
  std::int64_t n_accessible = 0;  // of those, the ones the cell's opening lets through
  std::int64_t n_unique_accessible = 0;  // written sets among those
  double i_over_sigma = 0.0;
  double r_int = 0.0;
  double r_sigma = 0.0;
  double r_meas = 0.0;
  double r_pim = 0.0;
  double cc_half = 0.0;
  double chi2 = 0.0;
};

struct BatchRow {
  std::int32_t batch = 0;
  std::int64_t n_obs = 0;
  double i_over_sigma = 0.0;
  double r_int = 0.0;
  std::int64_t n_outliers = 0;
  std::int64_t n_dac_dips = 0;
};

struct NormalProbability {
  double slope = 0.0;
  double intercept = 0.0;
  // At most 2000 points, evenly spaced in rank: (expected normal quantile, sorted deviation).
  std::vector<double> expected;
  std::vector<double> observed;
};

struct RejectionCounts {
  std::int64_t impossible = 0;  // records the reader left out (not members of any set)
  std::int64_t violation = 0;
  std::int64_t outside_2theta = 0;
  std::int64_t less_than = 0;
  std::int64_t singlet_dropped = 0;
  std::int64_t dac_dip = 0;
  std::int64_t outlier = 0;
  std::int64_t overflow = 0;
};

struct Statistics {
  bool has_shells = false;      // false when no d is known for the sets
  std::string no_shells_reason;  // the one line that says why, when there are none
  bool has_dac = false;          // an OPENING card gave the accessible volume
  std::vector<ShellRow> shells;  // from low to high resolution
  ShellRow overall;
  std::vector<BatchRow> batches;  // empty when the input carries no batch numbers
  NormalProbability normal_probability;
  RejectionCounts rejections;  // filled by statistics::rejection_counts
  // Set sizes: set_size_histogram[n] = number of written sets with n accepted members.
  std::vector<std::int64_t> set_size_histogram;
};

}  // namespace vorlane::statistics
