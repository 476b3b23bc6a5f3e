#pragma once
namespace vorlane::run { struct RunState; }

namespace vorlane::geometry {

// GSTAR = transpose(UB)*UB, RCELL from it, and UBTINV = inverse of transpose(UB), all in
// rs.cell. Fatal error (ERROR, IHALT set) on a non-symmetric GSTAR or a singular UB.
void RECIP_CELL(run::RunState& rs);

}  // namespace vorlane::geometry
