#pragma once
// Which reflections a diamond-anvil cell lets through: the accessible volume of reciprocal
// space for a cell of opening half-angle alpha whose load axis is v (Tchon & Makal, IUCrJ 8
// (2021) 1006). A reciprocal-lattice point x is accessible when
//   |x| < (2/lambda) sin(alpha - psi),   psi = |asin(v.x / |x|)|,
// the volume of that region being Merrill & Bassett's 4 pi / lambda^3 sin(alpha) (alpha -
// sin(alpha) cos(alpha)).
#include <array>

#include "symmetry/space_group.hpp"

namespace vorlane::statistics {

struct DacOpening {
  double wavelength = 0.0;         // Å
  double alpha = 0.0;              // opening half-angle, radians
  std::array<double, 3> axis{};    // unit load axis in the laboratory frame of UB
  std::array<double, 9> ub{};      // UB row by row, 1/Å: x = UB h
};

bool point_accessible(const DacOpening& dac, const std::array<double, 3>& x);

// x = UB h for integer indices.
std::array<double, 3> lab_vector(const DacOpening& dac, const std::array<int, 3>& h);

}  // namespace vorlane::statistics
