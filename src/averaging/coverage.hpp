#pragma once
// How many symmetry-independent reflections the crystal can give out to a scattering angle:
// the denominator of the completeness reported in the CIF fragment.
#include "expfile/run_controls.hpp"
#include "symmetry/cell_table.hpp"
#include "symmetry/space_group.hpp"

namespace vorlane::averaging {

// The number of unique reflections allowed by the space group with d >= d_min, d_min from
// TTH (2theta in degrees) and WAVE, counted the way the input reader forms equivalent sets:
// with Friedel mates merged (INOFLIP = 0) one per Laue-class orbit, with INOFLIP = 1 one per
// point-group orbit. Needs the reciprocal cell of the cell table and the operators in either
// IMATMODE. Returns 0 without a CELL card (ICELL = 0), for TTH < 0.001 and when the index box
// out to the limit would exceed MAX_ENUMERATED triples (a cell far too long for the limit).
// The list of boundary reflections grows with the data.
int COVERAGE(const expfile::RunControls& ctl, const symmetry::SpaceGroup& sg,
             const symmetry::CellTable& ct, float TTH);

}  // namespace vorlane::averaging
