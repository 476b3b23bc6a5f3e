#include "geometry/calcb_from_cell.hpp"

#include <cmath>

#include "geometry/angle_constants.hpp"
#include "geometry/build_g_from_cell.hpp"
#include "geometry/get_recip_from_gstar.hpp"
#include "geometry/mat3_ops.hpp"
#include "geometry/minv3.hpp"
#include "geometry/singular_limit.hpp"

namespace vorlane::geometry {

void CALCB_FROM_CELL(CellState& cell, const std::array<float, 7>& CELLPAR) {
  const auto& r = cell.RCELL;
  if (r[0] < 0.00001f || r[1] < 0.00001f || r[2] < 0.00001f) {
    // No orientation matrix gave the reciprocal cell: derive it from the cell constants.
    BUILD_G_FROM_CELL(cell, CELLPAR);
    float det = 0.0f;
    int ier = 0;
    MINV3(cell.GMET, cell.GSTAR, 1.0e-7f, det, ier);  // a singular G leaves G* zero
    GET_RECIP_FROM_GSTAR(cell);
  }
  const float as = r[0], bs = r[1], cs = r[2];
  const float betas = DEGRAD * r[4], gammas = DEGRAD * r[5];
  const float alpha = DEGRAD * CELLPAR[3];
  const float c = CELLPAR[2];
  // Busing & Levy (1967): a* along x, b* in the x-y plane.
  Mat3& b = cell.BMAT;
  b.fill(0.0f);
  at(b, 1, 1) = as;
  at(b, 1, 2) = bs * std::cos(gammas);
  at(b, 1, 3) = cs * std::cos(betas);
  at(b, 2, 2) = bs * std::sin(gammas);
  at(b, 2, 3) = -cs * std::sin(betas) * std::cos(alpha);
  at(b, 3, 3) = 1.0f / c;
  float det = 0.0f;
  int ier = 0;
  // det B = 1/V: singular relative to the matrix's own scale (a singular B leaves BTINV zero).
  const Mat3 bt = transpose(b);
  MINV3(bt, cell.BTINV, singular_limit(bt, 1.0e-7), det, ier);
}

}  // namespace vorlane::geometry
