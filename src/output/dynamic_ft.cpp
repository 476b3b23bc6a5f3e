#include "output/dynamic_ft.hpp"

#include <cmath>

#include "records/edit_list.hpp"

namespace vorlane::output {

void DYNAMIC_FT(int W, float X, int& D, int& IOVER) {
  IOVER = 0;
  D = 0;
  if (!std::isfinite(X)) {
    IOVER = 1;
    return;
  }
  float x = X + 0.001f;
  bool negative = false;
  // The limit of the integer part: all of the field less the point, and the sign if any.
  int digits = W - 1;
  if (!(x > 0.0f)) {
    negative = true;
    digits = W - 2;
    x = std::fabs(x);
  }
  long long power = 1;
  for (int i = 0; i < digits; ++i) power *= 10;
  const float limit = static_cast<float>(power - 1);
  if (x > limit) {
    IOVER = 1;
    return;
  }
  // n: integer digits (at least one) plus one for the point.
  int n = 1;
  do {
    x = x / 10.0f;
    n = n + 1;
  } while (!(x <= 1.0f));
  if (negative) n = n + 1;
  D = W - n;
  if (D < 0) {
    IOVER = 1;
    return;
  }
  // Rounding to D decimals may carry into a further integer digit: give up decimals until
  // the written value fits its field. Digits were counted on X + 0.001, so a carry needs half
  // a unit of the last decimal to exceed 0.001: only with two decimals or fewer.
  while (D <= 2 && records::fixed_length(X, D) > W) {
    if (D == 0) {
      IOVER = 1;
      return;
    }
    D = D - 1;
  }
}

}  // namespace vorlane::output
