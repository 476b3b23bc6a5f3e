#pragma once
// Splits a real into a whole part and the remainder in [0,1).
namespace vorlane::symmetry {

// X >= 1: Y = trunc(X), X -= Y, K = 1.  0 <= X < 1: Y = 0, K = 0.
// X < 0: Y = trunc(X) - 1, X -= Y, K = -1.
void FRACT(float& X, float& Y, int& K);

}  // namespace vorlane::symmetry
