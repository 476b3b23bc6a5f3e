#pragma once
// Systematic absences from lattice centring.
#include <array>

#include "symmetry/space_group.hpp"

namespace vorlane::symmetry {

// 1 when h·v is whole for every centring vector v, 0 when the centring forbids h.
int LATABS(const SpaceGroup& sg, const std::array<float, 3>& h);

}  // namespace vorlane::symmetry
