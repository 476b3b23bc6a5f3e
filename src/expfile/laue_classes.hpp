#pragma once
// The twelve Laue classes a LAUE keyword can name: the symbol searched for on the card, the
// generators besides the identity and the inversion, and the bounding planes of the
// asymmetric unit.
#include <array>
#include <string_view>

namespace vorlane::expfile {

struct LaueClass {
  std::string_view symbol;                      // five characters, trailing blanks included
  std::array<std::string_view, 4> generators;   // coordinate triplets, empty entries unused
  int operators;                                // order of the class
  std::array<std::array<int, 4>, 3> planes;    // (a, b, c, d), rows of zeros unused
};

// Row r of the table is LAUE_CLASSES[r - 1]; LAUECLS is the row.
extern const std::array<LaueClass, 12> LAUE_CLASSES;

}  // namespace vorlane::expfile
