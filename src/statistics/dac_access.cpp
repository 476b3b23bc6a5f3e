#include "statistics/dac_access.hpp"

#include <algorithm>
#include <cmath>

namespace vorlane::statistics {

bool point_accessible(const DacOpening& dac, const std::array<double, 3>& x) {
  const double len = std::sqrt(x[0] * x[0] + x[1] * x[1] + x[2] * x[2]);
  if (len == 0.0) return false;
  const double along = (dac.axis[0] * x[0] + dac.axis[1] * x[1] + dac.axis[2] * x[2]) / len;
  const double psi = std::fabs(std::asin(std::clamp(along, -1.0, 1.0)));
  const double room = dac.alpha - psi;
  if (room <= 0.0) return false;
  return len < 2.0 / dac.wavelength * std::sin(room);
}

std::array<double, 3> lab_vector(const DacOpening& dac, const std::array<int, 3>& h) {
  std::array<double, 3> x{};
  for (int i = 0; i < 3; ++i)
    x[i] = dac.ub[i * 3] * h[0] + dac.ub[i * 3 + 1] * h[1] + dac.ub[i * 3 + 2] * h[2];
  return x;
}

}  // namespace vorlane::statistics
