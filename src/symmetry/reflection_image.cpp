#include "symmetry/reflection_image.hpp"

#include <cmath>

namespace vorlane::symmetry {

Vec3 reflection_image(const SpaceGroup& sg, int n, const Vec3& h) {
  const Mat3& m = sg.SYMROT[static_cast<std::size_t>(n - 1)];
  Vec3 y{};
  for (int i = 1; i <= 3; ++i) {
    float s = 0.0f;
    for (int j = 1; j <= 3; ++j) {
      // Position form: row vector h times R. Reflection form: the stored matrix times the
      // column h. Both give component i of h·R.
      s = s + (sg.IMATMODE == 2 ? elem(m, i, j) : elem(m, j, i)) * h[static_cast<std::size_t>(j - 1)];
    }
    y[static_cast<std::size_t>(i - 1)] = s;
  }
  return y;
}

std::array<int, 3> reflection_image(const SpaceGroup& sg, int n, const std::array<int, 3>& h) {
  const Vec3 y = reflection_image(
      sg, n, Vec3{static_cast<float>(h[0]), static_cast<float>(h[1]), static_cast<float>(h[2])});
  return {static_cast<int>(std::lround(y[0])), static_cast<int>(std::lround(y[1])),
          static_cast<int>(std::lround(y[2]))};
}

bool whole_number_rotations(const SpaceGroup& sg, std::vector<std::array<int, 9>>& rows) {
  rows.clear();
  for (int n = 1; n <= sg.NSYMOP; ++n) {
    std::array<int, 9> r{};
    for (int c = 0; c < 3; ++c) {
      // Column c is the image of the unit vector along c: the matrix elements themselves.
      Vec3 e{0.0f, 0.0f, 0.0f};
      e[static_cast<std::size_t>(c)] = 1.0f;
      const Vec3 col = reflection_image(sg, n, e);
      for (int i = 0; i < 3; ++i) {
        const float x = col[static_cast<std::size_t>(i)];
        if (!(std::fabs(x) <= 8.0f) || x != std::trunc(x)) {
          rows.clear();
          return false;
        }
        r[static_cast<std::size_t>(3 * i + c)] = static_cast<int>(x);
      }
    }
    rows.push_back(r);
  }
  return true;
}

}  // namespace vorlane::symmetry
