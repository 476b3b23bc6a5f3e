#pragma once
// Determinant and in-place inverse of a 3x3 matrix.
#include "symmetry/space_group.hpp"

namespace vorlane::symmetry {

// D = det(A). When abs(D) >= 0.0001, A becomes its inverse (adjugate / D); otherwise A is
// left unchanged and the caller decides what a near-singular matrix means.
void TRINV3(Mat3& A, float& D);

}  // namespace vorlane::symmetry
