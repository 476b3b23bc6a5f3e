#pragma once
// General matrix product of column-major arrays.
#include <span>

namespace vorlane::symmetry {

// C = A·B with A NI x NJ, B NJ x NK, C NI x NK, all column-major. NI = 1 gives row vector
// times matrix, NK = 1 matrix times column vector. Every partial sum is kept in single
// precision. C must not overlap A or B.
void GMPRD(std::span<const float> A, std::span<const float> B, std::span<float> C, int NI,
           int NJ, int NK);

}  // namespace vorlane::symmetry
