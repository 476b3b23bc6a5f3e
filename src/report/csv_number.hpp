#pragma once
// Numbers of the CSV ledger: reals in the shortest form with at most seven significant
// digits ("%.7g"), as std::to_chars writes them; floats by a faster exact route.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>

namespace vorlane::report {

inline void append_csv_real(std::string& out, double v) {
  if (!std::isfinite(v)) return;
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 7);
  out.append(buf, r.ptr);
}

// A float as append_csv_real writes it, worked out with integer arithmetic where that is
// exact: for |x| from 1e-4 to below 1e7 the value times 10^(6 - exponent) (at most 10^10,
// whose odd factor 5^10 has 23 bits) is exact in double, so its rounding to seven digits,
// half to even on the exact value, is done on it directly. Every other value goes through
// append_csv_real.
inline void append_csv_float(std::string& out, float x) {
  constexpr double kPow10[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10};
  const double a = std::fabs(static_cast<double>(x));
  if (!(a >= 1e-4 && a < 1e7)) {
    append_csv_real(out, x);
    return;
  }
  int e = 0;  // the decimal exponent of the first significant digit: 10^e <= a < 10^(e+1)
  if (a >= 1.0) {
    while (e < 6 && a >= kPow10[e + 1]) ++e;
  } else {
    e = -1;
    while (a * kPow10[-e] < 1.0) --e;  // exact: at most four places
  }
  const double scaled = a * kPow10[6 - e];  // exact: see above
  auto n = static_cast<std::uint64_t>(scaled);
  const double rest = scaled - static_cast<double>(n);
  if (rest > 0.5 || (rest == 0.5 && (n & 1U) != 0)) ++n;
  if (n == 10000000) {  // rounded up to the next power of ten
    n = 1000000;
    ++e;
  }
  if (e >= 7) {
    append_csv_real(out, x);  // the exponent form
    return;
  }
  // Seven digits with the point after digit e + 1 (or before them, after "0." and zeros),
  // trailing zeros of the fraction dropped.
  char digits[7];
  for (int i = 6; i >= 0; --i) {
    digits[i] = static_cast<char>('0' + n % 10);
    n /= 10;
  }
  int last = 6;
  const int point = e + 1;  // digits before the point (0 or less: none)
  while (last >= point && last > 0 && digits[last] == '0') --last;
  if (x < 0.0f) out += '-';
  if (point <= 0) {
    out += "0.";
    out.append(static_cast<std::size_t>(-point), '0');
    out.append(digits, static_cast<std::size_t>(last + 1));
    return;
  }
  out.append(digits, static_cast<std::size_t>(std::min(point, last + 1)));
  if (last >= point) {
    out += '.';
    out.append(digits + point, static_cast<std::size_t>(last + 1 - point));
  }
}

}  // namespace vorlane::report
