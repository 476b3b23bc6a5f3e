#pragma once
// 3x3 inversion through the adjugate, in double precision. A and B are stored column by column
// (see cell_state.hpp); B may be the same object as A.
#include <array>

#include "geometry/cell_state.hpp"

namespace vorlane::geometry {

using Mat3d = std::array<double, 9>;

// B = inverse of A; DET = determinant of A (expanded along the third row).
// IER = 0 on success; IER = 1 when abs(DET) < EPS, and then DET = 0 and B is all zero.
void MINV38(const Mat3d& A, Mat3d& B, double EPS, double& DET, int& IER);

// Single-precision front end: A is widened to double, inverted by MINV38 with EPS widened,
// and DET and B are rounded back to single precision.
void MINV3(const Mat3& A, Mat3& B, float EPS, float& DET, int& IER);

}  // namespace vorlane::geometry
