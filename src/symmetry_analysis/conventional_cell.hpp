#pragma once
// The conventional cell of a lattice given on a primitive cell (for example the Niggli-reduced
// cell of a C-, I-, F- or R-centred lattice), where the lattice symmetry that the cell's own
// axes cannot name becomes a setting of gemmi's table.
#include <optional>
#include <string>

#include "symmetry_analysis/lattice_symmetry.hpp"
#include "symmetry_analysis/measurement.hpp"
#include "symmetry_analysis/rotation.hpp"

namespace vorlane::symmetry_analysis {

// A change of axes: row i of `matrix` is the new axis i in terms of the old axes, so the new
// indices are h' = matrix h (integral for every old h) and the new metric is M G M^T.
struct Reindexing {
  Rot matrix = IDENTITY;
  std::string centring;  // the centring the new cell has: P C A B I F R(obv)
};

// The new indices in terms of the old, e.g. "h+k,-h+k,l", "k,l,h", "-h-k+2l".
std::string reindexing_text(const Rot& matrix);

Hkl reindexed(const Hkl& h, const Rot& matrix);

// The cell on the new axes. A signed permutation of the axes keeps the values exactly.
Crystal reindexed_crystal(const Crystal& crystal, const Rot& matrix);

// For a primitive cell and rotations of its lattice (in the cell's axes: those the data
// show) that no setting in these axes holds: the cell of at most four times the volume whose
// axes lie along the rotation axes of the group they generate (and, when all its rotations
// share one axis, in the lattice plane normal to it), with a centring whose absent reflections
// the old indices can never give, in which that group is a Laue class of a setting of gemmi's
// table, offered by the lattice symmetry of the new cell. Among such cells (one lattice has
// several) the choice is fixed: centring P, then C, A, B, I, F, R; a monoclinic unique axis b;
// the shortest edges; no acute angle (beta obtuse); the axes nearest the given ones; then the
// largest matrix. Nothing when there is no such cell.
std::optional<Reindexing> conventional_setting(const Crystal& crystal,
                                               const std::vector<Rot>& rotations,
                                               double tolerance_deg);

}  // namespace vorlane::symmetry_analysis
