// F fields: the value rounded to d decimals, half to even on its exact binary value.
//
// A float widened to double is exact, and for d <= 12 the product float * 10^d is exact in
// double as well (24 + 28 significant bits at most), so the rounding can be done on that
// product with integer arithmetic: the fast path for every field the program writes. Other
// cases go through std::to_chars, which rounds the exact value correctly.
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <string_view>

#include "records/edit_list.hpp"
#include "records/field_format.hpp"

namespace vorlane::records {

namespace detail {

namespace {

constexpr double kPow10[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12};
// Body "int.frac" of |x| rounded to d decimals into buf; returns its length.
int fixed_body(char* buf, int size, double magnitude, bool exact_product, int d) {
  if (exact_product && d <= 12) {
    const double p = magnitude * kPow10[d];  // exact: see the note at the top
    if (p < 4503599627370496.0) {            // 2^52: the truncation and the half test are exact
      auto n = static_cast<std::uint64_t>(p);
      const double rest = p - static_cast<double>(n);
      if (rest > 0.5 || (rest == 0.5 && (n & 1U) != 0)) ++n;
      // Digits from the right: d decimals, the point, then at least one integer digit.
      char tmp[40];
      int k = static_cast<int>(sizeof tmp);
      for (int j = 0; j < d; ++j) {
        tmp[--k] = static_cast<char>('0' + n % 10);
        n /= 10;
      }
      tmp[--k] = '.';
      do {
        tmp[--k] = static_cast<char>('0' + n % 10);
        n /= 10;
      } while (n != 0);
      const int len = static_cast<int>(sizeof tmp) - k;
      std::memcpy(buf, tmp + k, static_cast<std::size_t>(len));
      return len;
    }
  }
  const auto r = std::to_chars(buf, buf + size - 1, magnitude, std::chars_format::fixed, d);
  int len = static_cast<int>(r.ptr - buf);
  if (d == 0) buf[len++] = '.';
  return len;
}

// "00" to "99".
constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// Writes the `count` lowest decimal digits of n right to left, ending before `end`, two at a
// time, and leaves in n what is left of it; returns the start.
char* put_digits(char* end, std::uint64_t& n, int count) {
  for (; count >= 2; count -= 2) {
    const auto pair = static_cast<std::size_t>(n % 100);
    n /= 100;
    end -= 2;
    std::memcpy(end, kDigitPairs + 2 * pair, 2);
  }
  if (count == 1) {
    *--end = static_cast<char>('0' + n % 10);
    n /= 10;
  }
  return end;
}

// Every digit of n (at least one), right to left, ending before `end`; returns the start.
char* put_all_digits(char* end, std::uint64_t n) {
  while (n >= 100) {
    const auto pair = static_cast<std::size_t>(n % 100);
    n /= 100;
    end -= 2;
    std::memcpy(end, kDigitPairs + 2 * pair, 2);
  }
  if (n >= 10) {
    end -= 2;
    std::memcpy(end, kDigitPairs + 2 * n, 2);
  } else {
    *--end = static_cast<char>('0' + n);
  }
  return end;
}

// The common field of the program's layouts, composed in a local buffer and appended once:
// a float, at most 12 decimals, a field of 1 to 48 columns, and a product below 2^52. False
// (nothing written) when the general path is needed.
bool append_fixed_short(std::string& out, double x, int width, int d) {
  if (width <= 0 || width > 48 || d > 12) return false;
  const double p = std::fabs(x) * kPow10[d];  // exact: see the note at the top
  if (!(p < 4503599627370496.0)) return false;  // also NaN and infinities
  auto n = static_cast<std::uint64_t>(p);
  const double rest = p - static_cast<double>(n);
  if (rest > 0.5 || (rest == 0.5 && (n & 1U) != 0)) ++n;
  // Body "int.frac", right to left: d decimals, the point, at least one integer digit. At
  // most 16 integer digits, 12 decimals, the sign and the blanks of the field.
  char buf[80];
  char* const end = buf + sizeof buf;
  char* k = put_digits(end, n, d);
  *--k = '.';
  const bool zero_integer = n == 0;  // the body is "0.ddd"
  k = put_all_digits(k, n);
  const bool negative = std::signbit(x);
  auto len = static_cast<int>(end - k) + (negative ? 1 : 0);
  if (len > width) {
    // Without its optional leading zero (with decimals) the body may still fit.
    if (d > 0 && zero_integer && len - 1 <= width) {
      ++k;
      --len;
    } else {
      out.append(static_cast<std::size_t>(width), '*');
      return true;
    }
  }
  if (negative) *--k = '-';
  const int blanks = width - len;
  k -= blanks;
  std::memset(k, ' ', static_cast<std::size_t>(blanks));
  out.append(k, static_cast<std::size_t>(width));
  return true;
}

void append_fixed(std::string& out, double x, bool exact_product, int width, int d) {
  if (d < 0 || d > 300 || width < 0) throw std::invalid_argument("F field out of range");
  if (exact_product && append_fixed_short(out, x, width, d)) return;
  if (!std::isfinite(x)) {
    append_non_finite(out, x, width);
    return;
  }
  // 309 integer digits of the largest double, the point and up to 300 decimals.
  char buf[640];
  const int len = fixed_body(buf, sizeof buf, std::fabs(x), exact_product, d);
  append_real_body(out, std::signbit(x), std::string_view(buf, static_cast<std::size_t>(len)),
                   width, d > 0);
}

}  // namespace

void append_non_finite(std::string& out, double value, int width) {
  if (std::isnan(value)) {  // never signed
    if (width == 0 || width >= 3) {
      if (width > 3) out.append(static_cast<std::size_t>(width - 3), ' ');
      out += "NaN";
    } else {
      out.append(static_cast<std::size_t>(width), '*');
    }
    return;
  }
  const bool negative = value < 0;
  const int sign = negative ? 1 : 0;
  std::string_view word;
  if (width == 0) {
    word = "Inf";
  } else if (width >= 8 + sign) {
    word = "Infinity";
  } else if (width >= 3 + sign) {
    word = "Inf";
  } else {
    out.append(static_cast<std::size_t>(width), '*');
    return;
  }
  const int len = sign + static_cast<int>(word.size());
  if (width > len) out.append(static_cast<std::size_t>(width - len), ' ');
  if (negative) out += '-';
  out += word;
}

void append_real_body(std::string& out, bool negative, std::string_view body, int width,
                      bool leading_zero_optional) {
  const bool optional_zero =
      leading_zero_optional && body.size() > 1 && body[0] == '0' && body[1] == '.';
  const int sign = negative ? 1 : 0;
  const int len = sign + static_cast<int>(body.size());
  if (width == 0) {
    if (negative) out += '-';
    out += optional_zero ? body.substr(1) : body;
    return;
  }
  if (len > width) {
    if (optional_zero && len - 1 <= width) {
      body.remove_prefix(1);
    } else {
      out.append(static_cast<std::size_t>(width), '*');
      return;
    }
  }
  // The field is composed in place and appended once: blanks, sign, body.
  const auto w = static_cast<std::size_t>(width);
  const std::size_t at = out.size();
  out.resize(at + w, ' ');
  char* field = out.data() + at + (w - body.size());
  std::memcpy(field, body.data(), body.size());
  if (negative) field[-1] = '-';
}

void append_F(std::string& out, float value, int width, int decimals) {
  append_fixed(out, static_cast<double>(value), true, width, decimals);
}

void append_F(std::string& out, double value, int width, int decimals) {
  append_fixed(out, value, false, width, decimals);
}

}  // namespace detail

std::string format_F(float value, int width, int decimals) {
  std::string s;
  detail::append_F(s, value, width, decimals);
  return s;
}

std::string format_F(double value, int width, int decimals) {
  std::string s;
  detail::append_F(s, value, width, decimals);
  return s;
}

}  // namespace vorlane::records
