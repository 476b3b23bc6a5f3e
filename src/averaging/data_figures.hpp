#pragma once
// The figures that describe the data written: what the CIF fragment, the print file's
// completeness block and the run summary report, counted once so that they never disagree.
#include <array>

namespace vorlane::averaging {

// Measured unique reflections against the complete set.
struct Coverage {
  int measured = 0;
  int possible = 0;
  // measured/possible; negative when nothing is possible (no cell, empty range).
  float fraction() const {
    return possible > 0 ? static_cast<float>(measured) / static_cast<float>(possible) : -1.0f;
  }
};

struct DataFigures {
  bool counted = false;
  // Every measurement of the written sets, rejected outliers and DAC dips included.
  int reflections = 0;
  // Indices as measured of those measurements (0 when there are none).
  std::array<int, 3> hkl_min{};
  std::array<int, 3> hkl_max{};
  // Theta of those measurements in degrees; unknown for SHELX input without cell and UB.
  bool theta_known = false;
  float theta_min = 0.0f;
  float theta_max = 0.0f;
  float theta_full = 0.0f;  // min(theta_max, asin(0.6 lambda))
  // Lines written to the output file, those above the less-than threshold among them, and
  // records left out because a value overflowed its field.
  int lines_total = 0;
  int lines_gt = 0;
  int lines_overflowed = 0;
  // Completeness to theta_max and theta_full. Known only with a cell (and a box that can be
  // enumerated); otherwise every fraction is negative.
  bool completeness_known = false;
  bool centrosymmetric = false;
  bool point_group_run = false;  // FRIEDEL NOFLIP: the run's own grouping is the point group
  Coverage laue_max, laue_full, point_group_max, point_group_full;
  // Acentric Laue-unique reflections with both Friedel mates measured, against the acentric
  // Laue-unique reflections of the complete set.
  Coverage friedel_max, friedel_full;

  const Coverage& run_max() const { return point_group_run ? point_group_max : laue_max; }
  const Coverage& run_full() const { return point_group_run ? point_group_full : laue_full; }
  // (point-group measured unique - Laue measured unique) / Laue measured unique to theta_max:
  // 0 when centrosymmetric, negative when unknown.
  float friedel_coverage() const {
    if (!completeness_known || laue_max.measured == 0) return -1.0f;
    if (centrosymmetric) return 0.0f;
    return static_cast<float>(point_group_max.measured - laue_max.measured) /
           static_cast<float>(laue_max.measured);
  }
};

}  // namespace vorlane::averaging
