#pragma once
// Metric symmetry of the cell as given and the Laue classes it allows.
#include <string>
#include <vector>

#include "symmetry_analysis/measurement.hpp"
#include "symmetry_analysis/rotation.hpp"

namespace vorlane::symmetry_analysis {

struct LaueCandidate {
  std::string symbol;   // -1 2/m mmm ... m-3m
  std::string setting;  // e.g. P 1 1 2/m
  PointGroup group;     // rotations and their negatives, in the cell's axes
};

struct LatticeSymmetry {
  PointGroup holohedry;           // the lattice's point group in the cell's axes
  std::vector<Rot> proper;        // its proper rotations, identity first
  LaueCandidate highest;          // the largest Laue class the settings allow in these axes
  std::vector<LaueCandidate> candidates;  // every Laue class of a gemmi setting with this
                                          // centring whose rotations are lattice symmetry
  bool lattice_beyond_settings = false;   // the lattice has rotations no candidate holds
};

// The lattice symmetry from the Niggli-reduced cell (gemmi, Le Page obliquity at most
// `tolerance_deg`), expressed in the cell's axes with centring `letter`.
LatticeSymmetry lattice_symmetry(const Crystal& crystal, char letter, double tolerance_deg);

// The axes of the Niggli-reduced cell (gemmi's reduction with its change of basis), one a
// row, in terms of the axes of `crystal`'s primitive cell. (Here beside gemmi's lattice
// symmetry: gemmi 0.5.7's cellred.hpp can be in one object file only.)
Rot niggli_axes(const Crystal& crystal);

}  // namespace vorlane::symmetry_analysis
