#pragma once
// Bragg's law has a solution only for lambda/2d <= 1: a reflection beyond the limiting sphere
// (radius 2/lambda in reciprocal space) cannot be measured at the run's wavelength. A record
// of such indices comes from a wrong cell or wavelength (WAVEL 7.1073 for 0.71073) or is not
// a measurement at all.
#include <array>

#include "run/run_state.hpp"

namespace vorlane::input {

class LimitingSphere {
 public:
  // The reciprocal metric of the run's cell (from the UB matrix when there is one) and its
  // wavelength; nothing is known without a cell.
  explicit LimitingSphere(const run::RunState& rs);

  bool known() const { return known_; }
  // lambda/2d of indices h, in double precision.
  double ratio(const std::array<int, 3>& h) const;

 private:
  bool known_ = false;
  std::array<double, 9> gstar_{};
  double half_wave_ = 0.0;
};

}  // namespace vorlane::input
