#include "input/limiting_sphere.hpp"

#include <algorithm>
#include <cmath>

namespace vorlane::input {

LimitingSphere::LimitingSphere(const run::RunState& rs) {
  // G* (GSTAR, symmetric) is set whenever IBMAT is: from the UB matrix, or from the cell.
  if (rs.ctl.IBMAT != 1 || !(rs.ctl.WAVE > 0.0f)) return;
  bool positive = true;
  for (std::size_t i = 0; i < 9; ++i) gstar_[i] = rs.cell.GSTAR[i];
  for (std::size_t i = 0; i < 3; ++i) positive = positive && gstar_[i * 4] > 0.0;
  known_ = positive;
  half_wave_ = 0.5 * static_cast<double>(rs.ctl.WAVE);
}

double LimitingSphere::ratio(const std::array<int, 3>& h) const {
  const double x = h[0], y = h[1], z = h[2];
  const auto& g = gstar_;
  const double q = g[0] * x * x + g[4] * y * y + g[8] * z * z +
                   2.0 * (g[3] * x * y + g[6] * x * z + g[7] * y * z);
  return half_wave_ * std::sqrt(std::max(q, 0.0));
}

}  // namespace vorlane::input
