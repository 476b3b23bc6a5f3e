#pragma once
namespace vorlane::run { struct RunState; }

namespace vorlane::geometry {

// Reorders and re-signs the rows of rs.cell.UB by rs.ctl.BLAXES: row abs(n_i) of the new
// matrix is row i of the old one, negated when n_i < 0. When the absolute values do not add
// up to 6 (or an entry lies outside -3..3 or is 0) it warns, resets BLAXES to (1, 2, 3) and
// leaves UB alone.
void ROTATE_UB(run::RunState& rs);

}  // namespace vorlane::geometry
