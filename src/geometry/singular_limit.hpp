#pragma once
// The determinant below which a 3x3 matrix counts as singular, taken relative to the matrix's
// own scale. A fixed limit says more about the units than about the matrix: the reciprocal
// metric tensor of a 32 A cubic cell has the determinant 1/V^2 = 9.3e-10, below a fixed 1e-9,
// although nothing about that cell is degenerate.
#include "geometry/cell_state.hpp"

namespace vorlane::geometry {

// `relative` times the product of the lengths of the matrix's columns, which bounds the
// magnitude of its determinant (Hadamard's inequality): the determinant over that product is
// the volume of the parallelepiped of the columns over the volume of a box with the same
// edges, a pure number (0 for a flat matrix, 1 for orthogonal columns).
float singular_limit(const Mat3& m, double relative);

}  // namespace vorlane::geometry
