// E fields: [-]0.d1...dd E+xx, d significant digits rounded half to even on the exact value.
#include <charconv>
#include <cmath>
#include <stdexcept>
#include <string>
#include <string_view>

#include "records/edit_list.hpp"
#include "records/field_format.hpp"

namespace vorlane::records {

namespace detail {

void append_E(std::string& out, double value, int width, int decimals, int exponent_digits) {
  if (decimals < 1 || decimals > 300 || width < 1)
    throw std::invalid_argument("E field out of range");
  if (!std::isfinite(value)) {
    append_non_finite(out, value, width);
    return;
  }
  // Body "0.ddddE+xx" built in buf.
  char buf[360];
  int len = 0;
  buf[len++] = '0';
  buf[len++] = '.';
  int exponent = 0;
  const double magnitude = std::fabs(value);
  if (magnitude == 0.0) {
    for (int k = 0; k < decimals; ++k) buf[len++] = '0';
  } else {
    // Scientific form d.ddd...e+XX with d significant digits; the Fortran form moves the point
    // one place left, so its exponent is one more.
    char sci[360];
    const auto r = std::to_chars(sci, sci + sizeof sci, magnitude, std::chars_format::scientific,
                                 decimals - 1);
    const std::string_view s(sci, static_cast<std::size_t>(r.ptr - sci));
    const std::size_t e = s.find('e');
    buf[len++] = s[0];
    for (std::size_t k = 2; k < e; ++k) buf[len++] = s[k];
    int x = 0;
    std::from_chars(s.data() + e + 2, s.data() + s.size(), x);
    exponent = (s[e + 1] == '-' ? -x : x) + 1;
  }
  const int abs_exp = exponent < 0 ? -exponent : exponent;
  char exp_digits[8];
  const int n_exp = static_cast<int>(
      std::to_chars(exp_digits, exp_digits + sizeof exp_digits, abs_exp).ptr - exp_digits);
  int field_digits = 0;
  bool with_letter = true;
  if (exponent_digits > 0) {
    field_digits = exponent_digits;
  } else if (abs_exp <= 99) {
    field_digits = 2;
  } else if (abs_exp <= 999) {
    field_digits = 3;  // "+ddd": the letter gives way to the third digit
    with_letter = false;
  } else {
    field_digits = -1;
  }
  if (field_digits < n_exp) {
    out.append(static_cast<std::size_t>(width), '*');
    return;
  }
  if (with_letter) buf[len++] = 'E';
  buf[len++] = exponent < 0 ? '-' : '+';
  for (int k = n_exp; k < field_digits; ++k) buf[len++] = '0';
  for (int k = 0; k < n_exp; ++k) buf[len++] = exp_digits[k];
  append_real_body(out, std::signbit(value), std::string_view(buf, static_cast<std::size_t>(len)),
                   width, true);
}

}  // namespace detail

std::string format_E(float value, int width, int decimals) {
  std::string s;
  detail::append_E(s, static_cast<double>(value), width, decimals, -1);
  return s;
}

}  // namespace vorlane::records
