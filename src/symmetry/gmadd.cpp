#include "symmetry/gmadd.hpp"

namespace vorlane::symmetry {

void GMADD(std::span<const float> A, std::span<const float> B, std::span<float> C, int NI,
           int NJ) {
  const std::size_t n = static_cast<std::size_t>(NI) * static_cast<std::size_t>(NJ);
  for (std::size_t i = 0; i < n; ++i) C[i] = A[i] + B[i];
}

}  // namespace vorlane::symmetry
