#pragma once
// Systematic absences from screw axes and glide planes.
#include <array>

#include "symmetry/space_group.hpp"

namespace vorlane::symmetry {

// 1 when the reflection h is allowed by the translations of the operators, 0 when it is
// systematically absent (some operator leaves h invariant and gives it a phase h·t that is
// not whole). Works in either IMATMODE.
int ISPABS(const SpaceGroup& sg, const std::array<float, 3>& h);

}  // namespace vorlane::symmetry
