#include "output/dynamic_ft.hpp"

#include <charconv>
#include <cmath>

namespace vorlane::output {

namespace {

// Characters of X written with `decimals` decimals (sign, integer digits, point, decimals);
// the exact binary value is rounded, as the F edit descriptor does.
int fixed_length(float X, int decimals) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(X),
                                    std::chars_format::fixed, decimals);
  if (result.ec != std::errc()) return 1000;
  int length = static_cast<int>(result.ptr - buffer);
  if (decimals == 0) ++length;  // F editing writes the point even without decimals
  return length;
}

}  // namespace

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
  // the written value fits its field.
  while (fixed_length(X, D) > W) {
    if (D == 0) {
      IOVER = 1;
      return;
    }
    D = D - 1;
  }
}

}  // namespace vorlane::output
