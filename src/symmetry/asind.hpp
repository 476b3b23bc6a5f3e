#pragma once
// The representative of a reflection in the asymmetric unit.
#include <array>

#include "symmetry/inbox.hpp"
#include "symmetry/space_group.hpp"

namespace vorlane::symmetry {

// k = the representative of h; isym = +n when k is the image of h under operator n, -n when
// it is the image of the Friedel mate -h, 0 when no image lies in the asymmetric unit (k is
// then meaningless). All members of one equivalence class (point group, plus Friedel mates
// for a non-centrosymmetric group) get the same k. Works in either IMATMODE.
void ASIND(const SpaceGroup& sg, const std::array<int, 3>& h, std::array<int, 3>& k, int& isym);

}  // namespace vorlane::symmetry
