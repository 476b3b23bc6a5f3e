#pragma once
// A space group of gemmi's table made the run's group: the operators go through READ_SYMM and
// the planes of the Laue class, in the orientation of the group's axes, through READ_UNITIN,
// exactly as if the SYMOP and UNITIN cards had been written out, so the program's own
// symmetry code is the one that builds the group.
#include <string>

namespace gemmi { struct SpaceGroup; }
namespace vorlane::run { struct RunState; }

namespace vorlane::expfile {

// Adds the group's operators and planes to rs.sg and names it in rs.ctl. Returns what went
// wrong (without the card's line), empty when nothing did.
std::string put_space_group(run::RunState& rs, const gemmi::SpaceGroup& entry);

// After an experiment file with SPACEGROUP AUTO was read: the group found from the data (a
// symbol of gemmi's table, `xhm()`) replaces the empty one, is completed as at the end of the
// file, and the lines of the setting are printed again. False after a fatal error.
bool use_space_group_found(run::RunState& rs, const std::string& xhm);

}  // namespace vorlane::expfile
