#pragma once
// The symmetry library's own description of the unit cell: for the real and the reciprocal
// lattice, each axis length with the cosine and sine of the corresponding cell angle, the
// reciprocal quadratic products, the real-cell volume and the two orthogonalisation matrices.
#include <array>

namespace vorlane::symmetry {

struct CellTable {
  // CELLTAB(i, kind, space): i = axis 1..3 (fastest), kind 1 side, 2 cosine, 3 sine,
  // space 1 real, 2 reciprocal. Angle i is the angle between the other two axes.
  std::array<float, 18> CELLTAB{};
  // a*², b*², c*², b*c*cos alpha*, a*c*cos beta*, a*b*cos gamma*.
  std::array<float, 6> RQPROD{};
  float VCELL = 0.0f;  // real-cell volume
  // ORTMAT(i, j, space): j-th Cartesian component of axis i of that lattice (i fastest).
  std::array<float, 18> ORTMAT{};

  float& at(int axis, int kind, int space) {
    return CELLTAB[(axis - 1) + 3 * (kind - 1) + 9 * (space - 1)];
  }
  float at(int axis, int kind, int space) const {
    return CELLTAB[(axis - 1) + 3 * (kind - 1) + 9 * (space - 1)];
  }
  float& ort(int i, int j, int space) { return ORTMAT[(i - 1) + 3 * (j - 1) + 9 * (space - 1)]; }
  float ort(int i, int j, int space) const {
    return ORTMAT[(i - 1) + 3 * (j - 1) + 9 * (space - 1)];
  }
};

inline constexpr int CELL_SIDE = 1;
inline constexpr int CELL_COS = 2;
inline constexpr int CELL_SIN = 3;
inline constexpr int REAL_SPACE = 1;
inline constexpr int RECIPROCAL_SPACE = 2;

}  // namespace vorlane::symmetry
