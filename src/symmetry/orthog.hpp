#pragma once
// The orthogonalisation matrices of the real and reciprocal lattice.
#include "records/print_file.hpp"
#include "symmetry/cell_table.hpp"

namespace vorlane::symmetry {

// Real lattice: c along z, b in the y-z plane. Reciprocal lattice: a* along x, b* in the x-y
// plane. Fills ORTMAT from CELLTAB and prints both matrices.
void ORTHOG(CellTable& ct, records::PrintFile& prt);

}  // namespace vorlane::symmetry
