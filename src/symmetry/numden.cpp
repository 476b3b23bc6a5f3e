#include "symmetry/numden.hpp"

#include <cmath>

#include "symmetry/fract.hpp"

namespace vorlane::symmetry {

void NUMDEN(float X, int& NUM, int& DEN, int& K) {
  const int largest = 9 - 3 * K;
  NUM = 0;
  DEN = 0;
  K = 0;
  if (X == 0.0f) return;
  const int sign = X > 0.0f ? 1 : -1;
  float b = std::fabs(X);
  int c = 1;
  if (b >= 1.0f) {
    float whole = 0.0f;
    int code = 0;
    FRACT(b, whole, code);
    c = 2;
  }
  for (int d = 2; d <= largest; ++d) {
    // Fifths are no crystallographic translation; they are skipped in the sixths class.
    if (d == 5 && largest == 6) continue;
    for (int n = 1; n < d; ++n) {
      if (std::fabs(static_cast<float>(n) / static_cast<float>(d) - b) < 0.0001f) {
        NUM = n;
        DEN = d;
        K = c * sign;
        return;
      }
    }
  }
  K = 99 * sign;
}

}  // namespace vorlane::symmetry
