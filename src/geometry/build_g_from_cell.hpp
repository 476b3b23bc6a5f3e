#pragma once
#include <array>

#include "geometry/cell_state.hpp"

namespace vorlane::geometry {

// GMET, the real-space metric tensor, from the cell constants a, b, c, alpha, beta, gamma
// (degrees) in CELLPAR(1..6).
void BUILD_G_FROM_CELL(CellState& cell, const std::array<float, 7>& CELLPAR);

}  // namespace vorlane::geometry
