#pragma once
// Lattice table of the cell-metric routines: real and reciprocal cell sides, cosines and
// sines, the reciprocal metric products, the cell volume and the orthogonalisation matrix.
#include <array>

namespace vorlane::symmetry {

struct CellTable {
  // CELLTAB(i, j, k): i = 1 side, 2 cosine, 3 sine; j = axis 1..3; k = 1 real, 2 reciprocal.
  std::array<float, 18> CELLTAB{};
  std::array<float, 6> RQPROD{};
  float VCELL = 0.0f;
  std::array<float, 9> ORTMAT{};

  float& at(int i, int j, int k) { return CELLTAB[(i - 1) + 3 * (j - 1) + 9 * (k - 1)]; }
  float at(int i, int j, int k) const { return CELLTAB[(i - 1) + 3 * (j - 1) + 9 * (k - 1)]; }
};

}  // namespace vorlane::symmetry
