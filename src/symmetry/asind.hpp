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

// ASIND's preference among images on the asymmetric unit's boundary: more positive indices
// first; among equals, an image with h > k as the rule says. (For RepresentativeSearch too.)
inline bool asind_prefers(const std::array<int, 3>& l, const std::array<int, 3>& k) {
  auto positive_count = [](const std::array<int, 3>& x) {
    return (x[0] > 0 ? 1 : 0) + (x[1] > 0 ? 1 : 0) + (x[2] > 0 ? 1 : 0);
  };
  const int pl = positive_count(l);
  const int pk = positive_count(k);
  if (pl != pk) return pl > pk;
  if (k[0] > k[1]) return l[0] > l[1] && k[1] <= k[2];
  return l[0] > l[1];
}

}  // namespace vorlane::symmetry
