#pragma once
// Where a reflection lies relative to the asymmetric unit.
#include <array>

#include "symmetry/space_group.hpp"

namespace vorlane::symmetry {

// 1 strictly inside every plane (or no planes at all), 0 on the boundary (no plane violated,
// at least one met exactly), -1 outside (some plane violated).
int INBOX(const SpaceGroup& sg, const std::array<int, 3>& h);

}  // namespace vorlane::symmetry
