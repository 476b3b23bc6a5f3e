#pragma once
// Point-group rotations as integer matrices acting on fractional coordinates (x' = R x), and
// on Miller indices as row vectors (h' = h R).
#include <array>
#include <string>
#include <vector>

#include "symmetry_analysis/measurement.hpp"

namespace vorlane::symmetry_analysis {

using Rot = std::array<int, 9>;  // row-major

constexpr Rot IDENTITY{1, 0, 0, 0, 1, 0, 0, 0, 1};

inline Hkl image_of(const Hkl& h, const Rot& r) {
  return {h[0] * r[0] + h[1] * r[3] + h[2] * r[6], h[0] * r[1] + h[1] * r[4] + h[2] * r[7],
          h[0] * r[2] + h[1] * r[5] + h[2] * r[8]};
}

inline Hkl negated(const Hkl& h) { return {-h[0], -h[1], -h[2]}; }

Rot multiply(const Rot& a, const Rot& b);
Rot negate(const Rot& r);
int trace(const Rot& r);
int determinant(const Rot& r);
// The order of a proper rotation (1, 2, 3, 4 or 6) from its trace.
int rotation_order(const Rot& r);
// The direct-space axis of a proper rotation, smallest integers, first non-zero positive.
std::array<int, 3> rotation_axis(const Rot& r);

// A point group closed under composition; `rotations` sorted, the identity included.
struct PointGroup {
  std::vector<Rot> rotations;
  bool contains(const Rot& r) const;
  // Whether every rotation of this group is one of `other`'s.
  bool subgroup_of(const PointGroup& other) const;
  // The orbit representative of `h`: the largest of h R over the group (lexicographic).
  Hkl representative(const Hkl& h) const;
  // The number of rotations that leave `h` unchanged.
  int epsilon(const Hkl& h) const;
  // Whether some proper rotation turns `h` into -h (a centric reflection: the inversion
  // alone does that to every reflection).
  bool centric(const Hkl& h) const;
};

// The group with `rotations` and their negatives (a Laue group from a rotation group).
PointGroup with_inversion(const std::vector<Rot>& rotations);

}  // namespace vorlane::symmetry_analysis
