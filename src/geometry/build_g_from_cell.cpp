#include "geometry/build_g_from_cell.hpp"

#include <cmath>

#include "geometry/angle_constants.hpp"
#include "geometry/mat3_ops.hpp"

namespace vorlane::geometry {

void BUILD_G_FROM_CELL(CellState& cell, const std::array<float, 7>& CELLPAR) {
  const float a = CELLPAR[0], b = CELLPAR[1], c = CELLPAR[2];
  const float ca = std::cos(DEGRAD * CELLPAR[3]);
  const float cb = std::cos(DEGRAD * CELLPAR[4]);
  const float cg = std::cos(DEGRAD * CELLPAR[5]);
  Mat3& g = cell.GMET;
  at(g, 1, 1) = a * a;
  at(g, 2, 2) = b * b;
  at(g, 3, 3) = c * c;
  at(g, 1, 2) = at(g, 2, 1) = a * b * cg;
  at(g, 1, 3) = at(g, 3, 1) = a * c * cb;
  at(g, 2, 3) = at(g, 3, 2) = b * c * ca;
}

}  // namespace vorlane::geometry
