#pragma once
// Which row of the Laue table a group of operators belongs to.
#include "symmetry/space_group.hpp"

namespace vorlane::expfile {

// The row (1..12) whose class holds exactly the rotations of the group together with their
// negatives; 0 when no row does (a setting the table's planes are not made for, such as a
// monoclinic group with its unique axis along a or c, or rhombohedral axes). The group is in
// position form (IMATMODE = 1), before or after SYMOP_EXP.
int laue_row_of_group(const symmetry::SpaceGroup& sg);

}  // namespace vorlane::expfile
