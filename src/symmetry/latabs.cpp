#include "symmetry/latabs.hpp"

#include <cmath>

namespace vorlane::symmetry {

int LATABS(const SpaceGroup& sg, const std::array<float, 3>& h) {
  for (int c = 2; c <= sg.NCENVEC; ++c) {
    const Vec3& v = sg.CENVEC[static_cast<std::size_t>(c - 1)];
    const float p = h[0] * v[0] + h[1] * v[1] + h[2] * v[2];
    const float a = std::fabs(p) + 0.01f;
    const float r = a - std::trunc(a);
    if (r > 0.1f) return 0;
  }
  return 1;
}

}  // namespace vorlane::symmetry
