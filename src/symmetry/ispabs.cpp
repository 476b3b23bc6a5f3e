#include "symmetry/ispabs.hpp"

#include <cmath>

#include "symmetry/reflection_image.hpp"

namespace vorlane::symmetry {

int ISPABS(const SpaceGroup& sg, const std::array<float, 3>& h) {
  if (sg.NSYMOP == 1) return 1;
  for (int k = 1; k <= sg.NSYMOP; ++k) {
    const Vec3 y = reflection_image(sg, k, h);
    if (std::fabs(y[0] - h[0]) > 0.001f || std::fabs(y[1] - h[1]) > 0.001f ||
        std::fabs(y[2] - h[2]) > 0.001f) {
      continue;
    }
    // h is invariant under the rotation of operator k: the operator's translation gives it
    // the phase 2pi h·t, which must be whole (within 0.09 above or 0.01 below an integer).
    const Vec3& t = sg.SYMTRN[static_cast<std::size_t>(k - 1)];
    const float p = t[0] * h[0] + t[1] * h[1] + t[2] * h[2];
    const float a = std::fabs(p) + 0.01f;
    const float r = a - std::trunc(a);
    if (r > 0.1f) return 0;
  }
  return 1;
}

}  // namespace vorlane::symmetry
