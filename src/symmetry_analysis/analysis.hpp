#pragma once
// The whole symmetry analysis: centring, lattice, Laue class, space group and intensity
// statistics from measured reflections and the cell, without any run state.
#include <string>
#include <vector>

#include "symmetry_analysis/centring.hpp"
#include "symmetry_analysis/conventional_cell.hpp"
#include "symmetry_analysis/element_scores.hpp"
#include "symmetry_analysis/intensity_statistics.hpp"
#include "symmetry_analysis/lattice_symmetry.hpp"
#include "symmetry_analysis/laue_ranking.hpp"
#include "symmetry_analysis/measurement.hpp"
#include "symmetry_analysis/space_group_ranking.hpp"

namespace vorlane::symmetry_analysis {

struct Analysis {
  bool determinable = false;
  std::string reason;  // why not, when not determinable
  int n_measurements = 0;
  int n_unique = 0;  // reflections with their Friedel mates as one
  Crystal crystal;   // the cell the tables refer to (after reindexing when there is one)
  Crystal crystal_as_given;
  // The reindexing the symmetry needs (new indices in terms of the old, e.g. "k,l,h" or
  // "h-k,h+k,l"), empty when the cell as given has the setting; then the groups are "after
  // reindexing". Its matrix: row i gives new index i in terms of the old ones.
  std::string reindexing;
  Rot reindexing_matrix = IDENTITY;
  CentringResult centring;
  LatticeSymmetry lattice;
  ElementScoring elements;
  std::vector<LaueRow> laue;
  IntensityStatistics statistics;
  SpaceGroupRanking space_groups;
};

// Measurements of zero, negative or non-finite sigma are left out. Refuses ("not
// determinable") fewer than 100 measurements, merged data (no reflection measured twice)
// and fewer than 50 pairs of repeated measurements.
Analysis analyse(std::vector<Measurement> data, const Crystal& crystal, const Options& options);

}  // namespace vorlane::symmetry_analysis
