#pragma once
#include "geometry/cell_state.hpp"

namespace vorlane::geometry {

// RCELL from GSTAR: a*, b*, c* from the diagonal (an axis whose diagonal element is not
// positive keeps its previous value), then alpha*, beta*, gamma* in degrees.
void GET_RECIP_FROM_GSTAR(CellState& cell);

}  // namespace vorlane::geometry
