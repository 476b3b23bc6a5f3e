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

// The two halves of GET_2THETA, for a reader that keeps the angle of each index triple: which
// way the angle of a record is found, and the angle from the indices and the cell alone (a
// function of H only within one run).
enum class TwoThetaSource { none, cosines, cell };
TwoThetaSource two_theta_source(const run::RunState& rs, const std::array<float, 6>& DC);
void two_theta_from_cell(const run::RunState& rs, const std::array<int, 3>& H, float& TTH,
                         int& IERR);

// two_theta_from_cell for the many records of one run: the reciprocal cell and the wavelength
// taken once, and the same operations in the same order.
class CellTwoTheta {
 public:
  explicit CellTwoTheta(const run::RunState& rs);
  void operator()(const std::array<int, 3>& H, float& TTH, int& IERR) const;

 private:
  std::array<double, 3> side_{};
  std::array<double, 3> cos_{};
  float wave_ = 0.0f;
};

}  // namespace vorlane::input
