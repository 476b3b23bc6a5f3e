#pragma once
// 2theta of a SHELX record: from its direction cosines, or from its indices and the cell.
#include <array>

#include "run/run_state.hpp"

namespace vorlane::input {

// DC: the six direction cosines in file order; H: the indices. TTH = 2theta in degrees with
// IERR = 0, or TTH = 0.0 with IERR = 1 when it cannot be had: no cell or orientation known,
// no cosines and no CELL card, or Bragg's law without a solution (lambda/2d above 1: the
// reflection cannot occur at this wavelength).
void GET_2THETA(const run::RunState& rs, const std::array<float, 6>& DC,
                const std::array<int, 3>& H, float& TTH, int& IERR);

}  // namespace vorlane::input
