#include "expfile/laue_of_group.hpp"

#include <set>
#include <string>

#include "expfile/laue_classes.hpp"
#include "expfile/symmetry_cards.hpp"

namespace vorlane::expfile {
namespace {

using Rotations = std::set<symmetry::Mat3>;
using Axes = std::array<int, 3>;

// The identity first, so that every group the table fits as it is keeps its planes; then
// the three exchanges of two axes (which take the table's unique axis b of 2/m to c and to
// a), then the two cyclic permutations.
constexpr std::array<Axes, 6> PERMUTATIONS{
    {{0, 1, 2}, {0, 2, 1}, {1, 0, 2}, {2, 1, 0}, {1, 2, 0}, {2, 0, 1}}};

symmetry::Mat3 negated(symmetry::Mat3 m) {
  for (float& e : m) e = e == 0.0f ? 0.0f : -e;
  return m;
}

// R' = P·R·P^T with P(i, axes[i]) = 1: the rotation R of the table's axes written in the
// group's axes.
symmetry::Mat3 permuted(const symmetry::Mat3& m, const Axes& axes) {
  symmetry::Mat3 r{};
  for (int i = 1; i <= 3; ++i)
    for (int j = 1; j <= 3; ++j)
      symmetry::elem(r, i, j) = symmetry::elem(m, axes[static_cast<std::size_t>(i - 1)] + 1,
                                               axes[static_cast<std::size_t>(j - 1)] + 1);
  return r;
}

Rotations rotations_with_negatives(const symmetry::SpaceGroup& sg, const Axes& axes) {
  Rotations r;
  for (int k = 0; k < sg.NSYMOP; ++k) {
    const symmetry::Mat3 m = permuted(sg.SYMROT[static_cast<std::size_t>(k)], axes);
    r.insert(m);
    r.insert(negated(m));
  }
  return r;
}

// The rotations of row `row` as the LAUE keyword builds them, with their negatives; empty
// when the row cannot be built.
Rotations laue_rotations(int row, const Axes& axes) {
  const LaueClass& lc = LAUE_CLASSES[static_cast<std::size_t>(row - 1)];
  symmetry::SpaceGroup laue;
  INITSYM(laue);
  const std::string card = "LAUE " + std::string(lc.symbol);
  int error = 0;
  int lauecls = 0;
  READ_LAUE(laue, card, static_cast<int>(card.size()), 6, error, lauecls);
  if (error != SYMCARD_OK) return {};
  return rotations_with_negatives(laue, axes);
}

}  // namespace

int laue_row_of_group(const symmetry::SpaceGroup& sg) {
  const Rotations group = rotations_with_negatives(sg, PERMUTATIONS[0]);
  for (int row = 1; row <= static_cast<int>(LAUE_CLASSES.size()); ++row) {
    const LaueClass& lc = LAUE_CLASSES[static_cast<std::size_t>(row - 1)];
    if (static_cast<std::size_t>(lc.operators) != group.size()) continue;
    if (laue_rotations(row, PERMUTATIONS[0]) == group) return row;
  }
  return 0;
}

LaueSetting laue_setting_of_group(const symmetry::SpaceGroup& sg) {
  const Rotations group = rotations_with_negatives(sg, PERMUTATIONS[0]);
  for (const Axes& axes : PERMUTATIONS) {
    for (int row = 1; row <= static_cast<int>(LAUE_CLASSES.size()); ++row) {
      const LaueClass& lc = LAUE_CLASSES[static_cast<std::size_t>(row - 1)];
      if (static_cast<std::size_t>(lc.operators) != group.size()) continue;
      if (laue_rotations(row, axes) == group) return LaueSetting{row, axes};
    }
  }
  return {};
}

std::array<int, 4> plane_in_setting(const std::array<int, 4>& plane, const LaueSetting& setting) {
  // Indices go with the axes: index i of the group is index axes[i] of the table, so
  // a·h of the table is the sum over i of a[axes[i]]·h'[i].
  std::array<int, 4> p{};
  for (std::size_t i = 0; i < 3; ++i) p[i] = plane[static_cast<std::size_t>(setting.axes[i])];
  p[3] = plane[3];
  return p;
}

}  // namespace vorlane::expfile
