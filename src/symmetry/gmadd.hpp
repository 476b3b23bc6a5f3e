#pragma once
// Element-by-element sum of two NI x NJ arrays.
#include <span>

namespace vorlane::symmetry {

// C = A + B (C may be A or B).
void GMADD(std::span<const float> A, std::span<const float> B, std::span<float> C, int NI,
           int NJ);

}  // namespace vorlane::symmetry
