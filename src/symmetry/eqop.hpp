#pragma once
// Judges a candidate operator against the operator table.
#include "symmetry/space_group.hpp"

namespace vorlane::symmetry {

// The candidate sits in slot NOP+1 of sg.SYMROT / sg.SYMTRN. A new matrix: NOP = NOP+1 (the
// caller then increments NSYMOP); beyond 48 the run stops (records::ProgramStop, message for
// standard output " too many symmetry operators - 48 allowed"). A known matrix with another
// translation: the difference becomes a centring vector of sg.CENVEC (NLAT is incremented
// when it is new). A repeat: nothing changes.
void EQOP(SpaceGroup& sg, int& NOP, int& NLAT);

}  // namespace vorlane::symmetry
