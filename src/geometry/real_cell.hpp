#pragma once
namespace vorlane::run { struct RunState; }

namespace vorlane::geometry {

// GMET = inverse of GSTAR, CELLVOL and the real cell UBCELL, all in rs.cell.
// Fatal error (ERROR, IHALT set) on a singular GSTAR or an invalid GMET.
void REAL_CELL(run::RunState& rs);

}  // namespace vorlane::geometry
