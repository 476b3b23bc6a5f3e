#pragma once
// Which row of the Laue table a group of operators belongs to, and in which orientation.
#include <array>

#include "symmetry/space_group.hpp"

namespace vorlane::expfile {

// The row (1..12) whose class holds exactly the rotations of the group together with their
// negatives; 0 when no row does (a setting the table's planes are not made for, such as a
// monoclinic group with its unique axis along a or c, or rhombohedral axes). The group is in
// position form (IMATMODE = 1), before or after SYMOP_EXP.
int laue_row_of_group(const symmetry::SpaceGroup& sg);

// A row of the Laue table in the orientation of a group: axis i of the group is axis
// `axes[i]` of the table's class (0 a, 1 b, 2 c). The identity when the table's orientation
// fits as it is.
struct LaueSetting {
  int row = 0;  // 0: no row fits in any orientation
  std::array<int, 3> axes{0, 1, 2};
};

// The row of the group with the first permutation of the axes, the identity first, under
// which the table's class holds exactly the group's rotations and their negatives: a
// monoclinic group with unique axis c is the table's 2/m (unique axis b) with b and c
// exchanged, one with unique axis a the same with a and b exchanged.
LaueSetting laue_setting_of_group(const symmetry::SpaceGroup& sg);

// A plane (a, b, c, d) of the table's asymmetric unit, a·h + b·k + c·l >= d, in the
// orientation of `setting`: the same reflections, their indices permuted as the axes are.
std::array<int, 4> plane_in_setting(const std::array<int, 4>& plane, const LaueSetting& setting);

}  // namespace vorlane::expfile
