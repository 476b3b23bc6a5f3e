#pragma once
// Space groups of the chosen Laue classes ranked by the reflections they declare absent,
// the centrosymmetry the intensity statistics show, and how often each group is published.
#include <string>
#include <vector>

#include "symmetry_analysis/centring.hpp"
#include "symmetry_analysis/intensity_statistics.hpp"
#include "symmetry_analysis/laue_ranking.hpp"
#include "symmetry_analysis/measurement.hpp"

namespace vorlane::symmetry_analysis {

struct SpaceGroupRow {
  std::string symbol;  // gemmi's xhm() of the setting
  int number = 0;
  bool centrosymmetric = false;
  std::string laue_symbol;
  double probability = 0.0;  // of the row, its ties included
  std::vector<std::string> ties;  // groups the intensities cannot tell from this one
  ClassFigures absent;  // the reflections (beyond the centring's) the group declares absent
};

// One reflection condition: the reflections a screw axis or glide plane declares absent.
struct ConditionRow {
  std::string op;  // the operator, e.g. "-x,y+1/2,-z"
  int n_zone = 0;  // reflections it leaves unchanged
  ClassFigures absent;
};

struct SpaceGroupRanking {
  std::vector<SpaceGroupRow> rows;
  std::vector<ConditionRow> conditions;  // of the groups of the first Laue class
};

// For every Laue class of probability at least 0.01: each gemmi setting with the chosen
// centring and that Laue group in the cell's axes (one per group up to an origin shift:
// settings of one number with the same absences; origin choice 2 and hexagonal axes
// preferred). Its score: over the unique reflections (merged under the Laue class, beyond
// those the centring forbids) that it declares absent, the likelihood ratio of zero
// intensity (sigma with a floor of 2 % of the shell's <I>, against lambda/2 and multiple
// diffraction; a true absence has no strong member
// beyond the floor, and only a wild measurement (one in 10^12) is let through) to an acentric Wilson
// distribution convolved with the measurement error; times the centrosymmetry weight when
// the statistics are reliable; times the prior. The probability of a group is that of its
// Laue class times its share within the class. Groups of one Laue class with the same
// absences and (unless the statistics are reliable) either centrosymmetry are one row.
SpaceGroupRanking rank_space_groups(const std::vector<Measurement>& data,
                                    const std::vector<double>& s2,
                                    const std::vector<LaueRow>& laue, char centring_letter,
                                    const std::string& centring_name,
                                    const IntensityStatistics& stats);

// The weight the intensity statistics give a centrosymmetric (or non-centrosymmetric) group:
// a logistic function of the centric score (0 acentric, 1 centric) about 0.5, of width
// 0.1 sqrt(300 / n) for n reflections (within 0.04 and 0.2);
// 1 when the statistics are not reliable.
double centrosymmetry_weight(const IntensityStatistics& stats, bool centrosymmetric);

}  // namespace vorlane::symmetry_analysis
