#pragma once
// Volume of a cell from its six constants.
#include <span>

namespace vorlane::geometry {

// CELL: a, b, c, alpha, beta, gamma (at least six values; more are ignored).
// IUNIT = 0: angles in degrees (converted with DEGRAD); anything else: radians.
// Returns a*b*c*sqrt(1 + 2 c1 c2 c3 - c1^2 - c2^2 - c3^2); NaN when the angles cannot
// form a cell (the term under the root is negative).
float GETCELLVOL(std::span<const float> CELL, int IUNIT);

}  // namespace vorlane::geometry
