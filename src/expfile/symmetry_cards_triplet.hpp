#pragma once
// Reading one coordinate triplet (such as -X,Y+1/2,-Z) into a matrix and a translation.
#include <string_view>

#include "symmetry/space_group.hpp"

namespace vorlane::expfile {

// Parses the operator written in `text` (characters beyond its end read as blanks). Each row
// examines up to 20 characters, continuing where the previous row stopped; a comma ends the
// row. Digits 1-6 and "/" form the translation (numerator/last digit, a lone digit gives 0),
// X, Y and Z set the elements of the row to the sign in force, "+" and "-" set that sign for
// the rest of the row. Everything else is skipped.
void parse_triplet(std::string_view text, symmetry::Mat3& rot, symmetry::Vec3& trn);

}  // namespace vorlane::expfile
