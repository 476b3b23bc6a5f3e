#pragma once
// The image of a reflection under one operator of the group, in either state of SYMROT.
#include <array>
#include <vector>

#include "symmetry/space_group.hpp"

namespace vorlane::symmetry {

// Image of the reflection h under operator n (1..NSYMOP): the row vector h·R of the position
// matrix R, whether SYMROT holds R (IMATMODE 1, computed as h·SYMROT(n)) or the reflection
// form (IMATMODE 2, computed as SYMROT(n)·h). Translations play no part.
Vec3 reflection_image(const SpaceGroup& sg, int n, const Vec3& h);
std::array<int, 3> reflection_image(const SpaceGroup& sg, int n, const std::array<int, 3>& h);

// The rotations of operators 1..NSYMOP acting on indices, row by row, as whole numbers, for
// searches that form images in integers. False (and `rows` empty) when an element is not a
// whole number of at most 8 in magnitude.
bool whole_number_rotations(const SpaceGroup& sg, std::vector<std::array<int, 9>>& rows);

}  // namespace vorlane::symmetry
