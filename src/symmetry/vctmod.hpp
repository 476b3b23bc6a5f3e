#pragma once
// Length of a vector given by its components along the axes of a lattice.
#include <array>

#include "symmetry/cell_table.hpp"

namespace vorlane::symmetry {

// SCALE times the length of x in lattice IR (1 real, 2 reciprocal), summed in double
// precision. With IR = 2 and x = (h, k, l) it is 1/d.
float VCTMOD(const CellTable& ct, float SCALE, const std::array<float, 3>& X, int IR);

}  // namespace vorlane::symmetry
