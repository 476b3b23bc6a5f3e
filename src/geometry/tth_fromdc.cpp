#include "geometry/tth_fromdc.hpp"

#include <cmath>

#include "geometry/angle_constants.hpp"

namespace vorlane::geometry {

namespace {
// Normalises v in place; false (v untouched) when it has no direction.
bool normalise(std::array<float, 3>& v) {
  const float len = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
  if (!(len > 0.0f) || !std::isfinite(len)) return false;
  for (float& x : v) x /= len;
  return true;
}
}  // namespace

float TTH_FROMDC(std::array<float, 3>& d1, std::array<float, 3>& d2) {
  const bool ok1 = normalise(d1);
  const bool ok2 = normalise(d2);
  if (!ok1 || !ok2) return 0.0f;
  // d1 is the reversed incident beam, so the angle between d1 and d2 is 180 - 2theta and
  // cos(2theta) = -(d1.d2).
  const float q = -(d1[0] * d2[0] + d1[1] * d2[1] + d1[2] * d2[2]);
  if (std::abs(q) > 0.999999f) return 0.0f;
  return RADDEG * std::acos(q);
}

}  // namespace vorlane::geometry
