#include "expfile/laue_of_group.hpp"

#include <set>
#include <string>

#include "expfile/laue_classes.hpp"
#include "expfile/symmetry_cards.hpp"

namespace vorlane::expfile {
namespace {

using Rotations = std::set<symmetry::Mat3>;

symmetry::Mat3 negated(symmetry::Mat3 m) {
  for (float& e : m) e = e == 0.0f ? 0.0f : -e;
  return m;
}

Rotations rotations_with_negatives(const symmetry::SpaceGroup& sg) {
  Rotations r;
  for (int k = 0; k < sg.NSYMOP; ++k) {
    const symmetry::Mat3& m = sg.SYMROT[static_cast<std::size_t>(k)];
    r.insert(m);
    r.insert(negated(m));
  }
  return r;
}

}  // namespace

int laue_row_of_group(const symmetry::SpaceGroup& sg) {
  const Rotations group = rotations_with_negatives(sg);
  for (int row = 1; row <= static_cast<int>(LAUE_CLASSES.size()); ++row) {
    const LaueClass& lc = LAUE_CLASSES[static_cast<std::size_t>(row - 1)];
    if (static_cast<std::size_t>(lc.operators) != group.size()) continue;
    // The class as the LAUE keyword builds it.
    symmetry::SpaceGroup laue;
    INITSYM(laue);
    const std::string card = "LAUE " + std::string(lc.symbol);
    int error = 0;
    int lauecls = 0;
    READ_LAUE(laue, card, static_cast<int>(card.size()), 6, error, lauecls);
    if (error == SYMCARD_OK && rotations_with_negatives(laue) == group) return row;
  }
  return 0;
}

}  // namespace vorlane::expfile
