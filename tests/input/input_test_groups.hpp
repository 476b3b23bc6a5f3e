#pragma once
// Small space groups built by hand for the reader tests: operators in the form that acts on
// reflection indices (IMATMODE 2), with asymmetric-unit planes a*h + b*k + c*l >= d.
#include <array>
#include <initializer_list>

#include "symmetry/space_group.hpp"

namespace vorlane::testing {

inline symmetry::Mat3 diagonal(float a, float b, float c) {
  return {a, 0, 0, 0, b, 0, 0, 0, c};
}

// `centric`: the operators include the inversion (one pass of ASIND, no Friedel mates).
inline symmetry::SpaceGroup make_group(std::initializer_list<symmetry::Mat3> ops, bool centric,
                                       std::initializer_list<std::array<int, 4>> planes) {
  symmetry::SpaceGroup sg;
  std::size_t n = 0;
  for (const auto& m : ops) sg.SYMROT[n++] = m;
  sg.NSYMOP = static_cast<int>(ops.size());
  sg.NCENVEC = 1;
  sg.ICENTRIC = centric ? 2 : 1;
  sg.IMATMODE = 2;
  n = 0;
  for (const auto& p : planes) sg.IPLANE[n++] = p;
  sg.NPLANE = static_cast<int>(planes.size());
  return sg;
}

// P1 without an asymmetric unit: every reflection is its own representative.
inline symmetry::SpaceGroup group_p1_open() { return make_group({diagonal(1, 1, 1)}, true, {}); }

// P1 (non-centrosymmetric) with the unit h >= 1: (-2, 1, 0) is reached from its Friedel mate.
inline symmetry::SpaceGroup group_p1_friedel() {
  return make_group({diagonal(1, 1, 1)}, false, {{1, 0, 0, 1}});
}

// mmm with the unit h, k, l >= 0.
inline symmetry::SpaceGroup group_mmm() {
  return make_group({diagonal(1, 1, 1), diagonal(-1, -1, 1), diagonal(-1, 1, -1),
                     diagonal(1, -1, -1), diagonal(-1, -1, -1), diagonal(1, 1, -1),
                     diagonal(1, -1, 1), diagonal(-1, 1, 1)},
                    true, {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}});
}

// P-1 with the unit l >= 0 (as the experiment files of the real data give it).
inline symmetry::SpaceGroup group_p1bar() {
  return make_group({diagonal(1, 1, 1), diagonal(-1, -1, -1)}, true, {{0, 0, 1, 0}});
}

}  // namespace vorlane::testing
