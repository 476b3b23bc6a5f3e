#pragma once
// Element access and the few products the cell routines need, on column-major 3x3 matrices.
// Products accumulate term by term in single precision.
#include "geometry/cell_state.hpp"

namespace vorlane::geometry {

// Element (i, j), 1-based row and column.
inline float& at(Mat3& m, int i, int j) { return m[(j - 1) * 3 + (i - 1)]; }
inline float at(const Mat3& m, int i, int j) { return m[(j - 1) * 3 + (i - 1)]; }

Mat3 transpose(const Mat3& a);
// a * b
Mat3 multiply(const Mat3& a, const Mat3& b);

}  // namespace vorlane::geometry
