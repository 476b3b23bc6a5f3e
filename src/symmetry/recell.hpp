#pragma once
// Completes the cell table from either lattice, prints both cells, builds the
// orthogonalisation matrices.
#include "records/print_file.hpp"
#include "symmetry/cell_table.hpp"

namespace vorlane::symmetry {

// N = 1: the cell is given as RQPROD, the real lattice is derived. N = 2: the real lattice in
// CELLTAB is given, the reciprocal lattice and RQPROD are derived. Both: VCELL, the listing,
// ORTHOG. Any other N: " error - entry to recell neither 1 nor 2" in the print file, then
// records::ProgramStop.
void RECELL(CellTable& ct, int N, records::PrintFile& prt);

}  // namespace vorlane::symmetry
