#pragma once
// 1/d of every set: from the cell when one is known, otherwise from the 2theta of its first
// member and the wavelength. In double precision: the shell tables are diagnostics, not part
// of any value the program writes.
#include <array>
#include <string>
#include <vector>

#include "expfile/run_controls.hpp"
#include "run/reflection_list.hpp"

namespace vorlane::statistics {

// The reciprocal metric G* of a cell (a, b, c in Å, angles in degrees), row by row.
std::array<double, 9> reciprocal_metric(const std::array<float, 7>& cell);

// 1/d of h through G*, and its square.
double inverse_d(const std::array<double, 9>& gstar, const std::array<int, 3>& h);
double inverse_d_squared(const std::array<double, 9>& gstar, const std::array<int, 3>& h);

struct SetResolution {
  std::vector<double> inv_d;  // per set, 1/d in 1/Å
  bool known = false;
  std::string reason;  // why no resolution is known, when it is not
};

// IBMAT = 1 (a cell from a CELL card or from the UB matrix) gives d from the cell; otherwise
// 2theta of the set's first member with a 2theta (0 means not known) and WAVE; a set whose
// members all lack it gets NaN, and no set with one leaves the resolution unknown.
SetResolution set_resolution(const run::ReflectionList& list, const expfile::RunControls& ctl);

}  // namespace vorlane::statistics
