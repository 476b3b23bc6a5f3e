// F fields: the value rounded to d decimals, half to even on its exact binary value.
//
// A float widened to double is exact, and for d <= 12 the product float * 10^d is exact in
// double as well (24 + 28 significant bits at most), so the rounding can be done on that
// product with integer arithmetic: the fast path for every field the program writes. Other
// cases go through std::to_chars, which rounds the exact value correctly.
#include <algorithm>
#include <bit>
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

// The integer route: n = magnitude (the exact value of a float) times 10^d, rounded half to
// even. False when it does not apply (more than 12 decimals, a product of 2^52 or more, NaN
// or infinity): below 2^52 the rounding is exact.
bool scaled_rounded(double magnitude, int d, std::uint64_t& n) {
  if (d < 0 || d > 12) return false;
  const double p = magnitude * kPow10[d];  // exact: see the note at the top
  // Below 2^52, adding 2^52 leaves steps of exactly one: the sum is p rounded to a whole
  // number, half to even, in the processor's rounding (to nearest), and the subtraction is
  // exact.
  constexpr double kWhole = 4503599627370496.0;  // 2^52
  if (!(p < kWhole)) return false;
  n = static_cast<std::uint64_t>((p + kWhole) - kWhole);
  return true;
}

// Body "int.frac" of |x| rounded to d decimals into buf; returns its length.
int fixed_body(char* buf, int size, double magnitude, bool exact_product, int d) {
  std::uint64_t n = 0;
  if (exact_product && scaled_rounded(magnitude, d, n)) {
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

// Eight blanks, one per byte of a word.
constexpr std::uint64_t kBlanks = 0x2020202020202020ull;

// Digits of n below 10^16 (at least one): log10 from the bit width, then one comparison.
int digit_count(std::uint64_t n) {
  static constexpr std::uint64_t kPowers[] = {1ull,
                                              10ull,
                                              100ull,
                                              1000ull,
                                              10000ull,
                                              100000ull,
                                              1000000ull,
                                              10000000ull,
                                              100000000ull,
                                              1000000000ull,
                                              10000000000ull,
                                              100000000000ull,
                                              1000000000000ull,
                                              10000000000000ull,
                                              100000000000000ull,
                                              1000000000000000ull,
                                              10000000000000000ull};
  const std::uint64_t m = n | 1;
  const int t = (static_cast<int>(std::bit_width(m)) * 1233) >> 12;  // floor(bits * log10 2)
  return t + 1 - (m < kPowers[t] ? 1 : 0);
}

// The eight decimal digits of n (below 10^8, with leading zeros) as characters, the most
// significant in the lowest byte: split in halves of four digits, then pairs, then digits,
// every lane at once (each quotient by a multiplication exact for the lane's range).
std::uint64_t eight_digits(std::uint32_t n) {
  const std::uint64_t hi = n / 10000, lo = n % 10000;
  std::uint64_t v = hi | lo << 32;
  const std::uint64_t hundreds = ((v * 10486) >> 20) & 0x0000007F0000007Full;
  v = hundreds | (v - hundreds * 100) << 16;
  const std::uint64_t tens = ((v * 103) >> 10) & 0x000F000F000F000Full;
  v = tens | (v - tens * 10) << 8;
  return v | 0x3030303030303030ull;
}

// A narrow F field (width up to 8) of n's digits with d decimals after the point,
// integer_digits before it (0: none, the optional zero left out), a minus sign when negative
// and blanks before; the body fits the width. The field's columns are the word's bytes in the
// order they are written, so that it reaches the text in one store (a field composed byte by
// byte in memory and then copied would be read back wider than it was written).
std::uint64_t narrow_fixed_field(std::uint32_t n, int d, int integer_digits, bool negative,
                                 int width) {
  // Built with the last column in byte 7: the decimals stay where the digits are, the integer
  // digits move one column left to make room for the point.
  const std::uint64_t digits = eight_digits(n);
  const std::uint64_t decimals = d == 0 ? 0 : digits & (~std::uint64_t{0} << (8 * (8 - d)));
  std::uint64_t word = (digits & ~decimals) >> 8 | decimals |
                       static_cast<std::uint64_t>('.') << (8 * (7 - d));
  // Blanks before the body's first digit, and the sign in the last of them.
  const int first = 7 - d - integer_digits;  // column of the first digit (or of the point)
  const std::uint64_t before = first == 0 ? 0 : ~std::uint64_t{0} >> (64 - 8 * first);
  word = (word & ~before) | (kBlanks & before);
  word ^= static_cast<std::uint64_t>(negative ? '-' ^ ' ' : 0) << (8 * (first - 1) & 63);
  return word >> (8 * (8 - width));
}

// A narrow F field (1 to 8 columns, room for the point and the decimals) of the exact value x
// as one word: its columns in the word's bytes in the order they are written, blanks after
// them. False when the integer route does not apply. Formed without a branch on the value's
// digits or sign, which vary from field to field.
bool narrow_word(double x, int width, int d, std::uint64_t& word) {
  std::uint64_t n = 0;
  if (!scaled_rounded(std::fabs(x), d, n)) return false;
  const bool negative = std::signbit(x);
  // Body "int.frac": d decimals, the point, the integer digits ("0" for none, left out when
  // only that makes the field fit).
  const int digits = digit_count(n);
  const bool zero_integer = digits <= d;
  int integer_digits = zero_integer ? 1 : digits - d;
  const int sign = negative ? 1 : 0;
  const std::uint64_t field_bytes =
      width == 8 ? ~std::uint64_t{0} : ~(~std::uint64_t{0} << (8 * width));
  const std::uint64_t after = kBlanks & ~field_bytes;
  if (sign + integer_digits + 1 + d > width) {
    if (zero_integer && d > 0 && sign + 1 + d <= width) {
      integer_digits = 0;
    } else {
      word = (0x2A2A2A2A2A2A2A2Aull & field_bytes) | after;  // asterisks
      return true;
    }
  }
  // At most 7 digits here (the point takes a column).
  word = narrow_fixed_field(static_cast<std::uint32_t>(n), d, integer_digits, negative, width) |
         after;
  return true;
}

// The common field of the program's layouts: a float, at most 12 decimals, a field of 1 to
// 48 columns, and a product below 2^52. False (nothing written) when the general path is
// needed.
bool append_fixed_short(std::string& out, double x, int width, int d) {
  if (width >= 1 && width <= 8 && d + 1 <= width) {
    std::uint64_t word = 0;
    if (!narrow_word(x, width, d, word)) return false;
    char bytes[8];
    std::memcpy(bytes, &word, 8);
    out.append(bytes, static_cast<std::size_t>(width));
    return true;
  }
  std::uint64_t n = 0;
  if (width <= 0 || width > 48 || !scaled_rounded(std::fabs(x), d, n)) return false;
  const bool negative = std::signbit(x);
  const int digits = digit_count(n);
  const bool zero_integer = digits <= d;
  int integer_digits = zero_integer ? 1 : digits - d;
  const int sign = negative ? 1 : 0;
  if (sign + integer_digits + 1 + d > width) {
    if (d > 0 && zero_integer && sign + 1 + d <= width) {
      integer_digits = 0;
    } else {
      out.append(static_cast<std::size_t>(width), '*');
      return true;
    }
  }
  // Wider fields: composed in place at the end of `out`.
  const std::size_t at = out.size();
  out.resize(at + static_cast<std::size_t>(width), ' ');
  char* k = put_digits(out.data() + at + width, n, d);
  *--k = '.';
  if (integer_digits > 0) k = put_digits(k, n, integer_digits);
  if (negative) *--k = '-';
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

bool narrow_F_word(float value, int width, int decimals, std::uint64_t& word) {
  return width >= 1 && width <= 8 && decimals + 1 <= width &&
         narrow_word(static_cast<double>(value), width, decimals, word);
}

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

int fixed_length(float value, int decimals) {
  const int sign = std::signbit(value) ? 1 : 0;
  std::uint64_t n = 0;
  if (detail::scaled_rounded(std::fabs(static_cast<double>(value)), decimals, n)) {
    const int digits = detail::digit_count(n);
    // "int.frac": at least one integer digit, but a lone zero goes when decimals follow.
    return sign + 1 + std::max(digits, decimals == 0 ? 1 : decimals);
  }
  char buffer[400];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value),
                                    std::chars_format::fixed, decimals);
  if (result.ec != std::errc()) return 1000;
  const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
  int length = static_cast<int>(text.size());
  if (decimals == 0) return length + 1;  // the point is written even without decimals
  if (text.substr(static_cast<std::size_t>(sign), 2) == "0.") --length;
  return length;
}

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
