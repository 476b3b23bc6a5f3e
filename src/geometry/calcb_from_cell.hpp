#pragma once
#include <array>

#include "geometry/cell_state.hpp"

namespace vorlane::geometry {

// BMAT (Busing-Levy B matrix) and BTINV = inverse of transpose(BMAT). When the reciprocal
// cell is not known yet (an axis of RCELL below 0.00001) it is derived from CELLPAR first
// (GMET, GSTAR and RCELL are filled on the way). Singular matrices give zero inverses.
void CALCB_FROM_CELL(CellState& cell, const std::array<float, 7>& CELLPAR);

}  // namespace vorlane::geometry
