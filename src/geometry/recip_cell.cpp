#include "geometry/recip_cell.hpp"

#include <cmath>

#include "geometry/get_recip_from_gstar.hpp"
#include "geometry/mat3_ops.hpp"
#include "geometry/minv3.hpp"
#include "geometry/singular_limit.hpp"
#include "geometry/tensor_message.hpp"
#include "run/messages.hpp"
#include "run/run_state.hpp"

namespace vorlane::geometry {

void RECIP_CELL(run::RunState& rs) {
  CellState& cell = rs.cell;
  cell.GSTAR = multiply(transpose(cell.UB), cell.UB);
  const Mat3& g = cell.GSTAR;
  if (std::abs(at(g, 1, 2) - at(g, 2, 1)) > 0.0001f ||
      std::abs(at(g, 1, 3) - at(g, 3, 1)) > 0.0001f ||
      std::abs(at(g, 3, 2) - at(g, 2, 3)) > 0.0001f) {
    run::fatal(rs, tensor_message("  INVALID RECIP METRIC TENSOR: ", g, ':'));
    return;
  }
  GET_RECIP_FROM_GSTAR(cell);
  float det = 0.0f;
  int ier = 0;
  // det UB = 1/V: singular relative to the matrix's own scale, not below a fixed number.
  const Mat3 ubt = transpose(cell.UB);
  MINV3(ubt, cell.UBTINV, singular_limit(ubt, 1.0e-7), det, ier);
  if (ier != 0) run::fatal(rs, tensor_message("INVALID UB: (UBTRANSPOSE)-1= ", cell.UBTINV, ':'));
}

}  // namespace vorlane::geometry
