#include "geometry/real_cell.hpp"

#include <algorithm>
#include <cmath>

#include "geometry/angle_constants.hpp"
#include "geometry/mat3_ops.hpp"
#include "geometry/minv3.hpp"
#include "geometry/singular_limit.hpp"
#include "geometry/tensor_message.hpp"
#include "run/messages.hpp"
#include "run/run_state.hpp"

namespace vorlane::geometry {

namespace {
float angle_deg(float cosine) { return RADDEG * std::acos(std::clamp(cosine, -1.0f, 1.0f)); }
}  // namespace

void REAL_CELL(run::RunState& rs) {
  CellState& cell = rs.cell;
  float det = 0.0f;
  int ier = 0;
  // Singular relative to the tensor's own scale: det G* = 1/V^2 falls with the cube of the
  // cell's size (a 32 A cubic cell gives 9.3e-10), while its ratio to the product of the
  // columns' lengths depends on the cell's angles alone. A cell of 10^9 A^3 still passes.
  MINV3(cell.GSTAR, cell.GMET, singular_limit(cell.GSTAR, 1.0e-9), det, ier);
  if (ier != 0) {
    run::fatal(rs, "   Determinant of Recip Metric tensor < 10-9");
    return;
  }
  // det G* = 1/V^2.
  cell.CELLVOL = 1.0f / std::sqrt(det);
  const Mat3& g = cell.GMET;
  auto& u = cell.UBCELL;
  bool valid = std::abs(at(g, 1, 2) - at(g, 2, 1)) <= 0.0001f &&
               std::abs(at(g, 1, 3) - at(g, 3, 1)) <= 0.0001f &&
               std::abs(at(g, 3, 2) - at(g, 2, 3)) <= 0.0001f;
  for (int i = 1; valid && i <= 3; ++i) {
    if (!(at(g, i, i) > 0.0f)) valid = false;
    else u[i - 1] = std::sqrt(at(g, i, i));
  }
  if (!valid) {
    run::fatal(rs, tensor_message("INVALID METRIC TENSOR: ", g, ';'));
    return;
  }
  u[3] = angle_deg(at(g, 2, 3) / (u[1] * u[2]));
  u[4] = angle_deg(at(g, 1, 3) / (u[0] * u[2]));
  u[5] = angle_deg(at(g, 1, 2) / (u[0] * u[1]));
}

}  // namespace vorlane::geometry
