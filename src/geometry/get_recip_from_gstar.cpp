#include "geometry/get_recip_from_gstar.hpp"

#include <algorithm>
#include <cmath>

#include "geometry/angle_constants.hpp"
#include "geometry/mat3_ops.hpp"

namespace vorlane::geometry {

namespace {
// Rounding can push the cosine of a (nearly) flat angle just past unity; acos would then give
// NaN, so the cosine is held inside [-1, 1].
float angle_deg(float cosine) { return RADDEG * std::acos(std::clamp(cosine, -1.0f, 1.0f)); }
}  // namespace

void GET_RECIP_FROM_GSTAR(CellState& cell) {
  const Mat3& g = cell.GSTAR;
  auto& r = cell.RCELL;
  for (int i = 1; i <= 3; ++i)
    if (at(g, i, i) > 0.0f) r[i - 1] = std::sqrt(at(g, i, i));
  r[3] = angle_deg(at(g, 2, 3) / (r[1] * r[2]));
  r[4] = angle_deg(at(g, 1, 3) / (r[0] * r[2]));
  r[5] = angle_deg(at(g, 1, 2) / (r[0] * r[1]));
}

}  // namespace vorlane::geometry
