#include "symmetry/gmprd.hpp"

namespace vorlane::symmetry {

void GMPRD(std::span<const float> A, std::span<const float> B, std::span<float> C, int NI,
           int NJ, int NK) {
  for (int i = 0; i < NI; ++i) {
    for (int k = 0; k < NK; ++k) {
      float& c = C[static_cast<std::size_t>(i + NI * k)];
      c = 0.0f;
      for (int j = 0; j < NJ; ++j) {
        c = c + A[static_cast<std::size_t>(i + NI * j)] * B[static_cast<std::size_t>(j + NJ * k)];
      }
    }
  }
}

}  // namespace vorlane::symmetry
