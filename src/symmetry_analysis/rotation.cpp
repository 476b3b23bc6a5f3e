#include "symmetry_analysis/rotation.hpp"

#include <algorithm>
#include <cstdlib>
#include <numeric>

namespace vorlane::symmetry_analysis {

Rot multiply(const Rot& a, const Rot& b) {
  Rot c{};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) {
      int s = 0;
      for (int k = 0; k < 3; ++k) s += a[i * 3 + k] * b[k * 3 + j];
      c[i * 3 + j] = s;
    }
  return c;
}

Rot negate(const Rot& r) {
  Rot n{};
  for (int i = 0; i < 9; ++i) n[i] = -r[i];
  return n;
}

int trace(const Rot& r) { return r[0] + r[4] + r[8]; }

int determinant(const Rot& r) {
  return r[0] * (r[4] * r[8] - r[5] * r[7]) - r[1] * (r[3] * r[8] - r[5] * r[6]) +
         r[2] * (r[3] * r[7] - r[4] * r[6]);
}

int rotation_order(const Rot& r) {
  switch (trace(r)) {
    case 3: return 1;
    case -1: return 2;
    case 0: return 3;
    case 1: return 4;
    case 2: return 6;
    default: return 0;
  }
}

std::array<int, 3> rotation_axis(const Rot& r) {
  // The axis is the null space of R - I: the cross product of two independent rows.
  std::array<std::array<int, 3>, 3> m{};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) m[i][j] = r[i * 3 + j] - (i == j ? 1 : 0);
  std::array<int, 3> axis{0, 0, 0};
  for (int a = 0; a < 3 && axis == std::array<int, 3>{0, 0, 0}; ++a)
    for (int b = a + 1; b < 3 && axis == std::array<int, 3>{0, 0, 0}; ++b)
      axis = {m[a][1] * m[b][2] - m[a][2] * m[b][1], m[a][2] * m[b][0] - m[a][0] * m[b][2],
              m[a][0] * m[b][1] - m[a][1] * m[b][0]};
  const int g = std::gcd(std::gcd(std::abs(axis[0]), std::abs(axis[1])), std::abs(axis[2]));
  if (g == 0) return axis;
  for (int& v : axis) v /= g;
  const int first = axis[0] != 0 ? axis[0] : axis[1] != 0 ? axis[1] : axis[2];
  if (first < 0)
    for (int& v : axis) v = -v;
  return axis;
}

bool PointGroup::contains(const Rot& r) const {
  return std::binary_search(rotations.begin(), rotations.end(), r);
}

bool PointGroup::subgroup_of(const PointGroup& other) const {
  return std::all_of(rotations.begin(), rotations.end(),
                     [&](const Rot& r) { return other.contains(r); });
}

Hkl PointGroup::representative(const Hkl& h) const {
  Hkl best = h;
  for (const Rot& r : rotations) best = std::max(best, image_of(h, r));
  return best;
}

int PointGroup::epsilon(const Hkl& h) const {
  int n = 0;
  for (const Rot& r : rotations)
    if (determinant(r) > 0 && image_of(h, r) == h) ++n;
  return n;
}

bool PointGroup::centric(const Hkl& h) const {
  const Hkl m = negated(h);
  return std::any_of(rotations.begin(), rotations.end(), [&](const Rot& r) {
    return determinant(r) > 0 && image_of(h, r) == m;
  });
}

PointGroup with_inversion(const std::vector<Rot>& rotations) {
  PointGroup g;
  for (const Rot& r : rotations) {
    g.rotations.push_back(r);
    g.rotations.push_back(negate(r));
  }
  std::sort(g.rotations.begin(), g.rotations.end());
  g.rotations.erase(std::unique(g.rotations.begin(), g.rotations.end()), g.rotations.end());
  return g;
}

}  // namespace vorlane::symmetry_analysis
