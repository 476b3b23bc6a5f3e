// I and A fields.
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "records/edit_list.hpp"
#include "records/field_format.hpp"

namespace vorlane::records {

namespace detail {

void append_I(std::string& out, int value, int width, int min_digits) {
  // Digits of |value| (as unsigned, so the most negative int works).
  const unsigned long long magnitude =
      value < 0 ? 0ULL - static_cast<unsigned long long>(static_cast<long long>(value))
                : static_cast<unsigned long long>(value);
  char digits[24];
  int n = 0;
  if (!(min_digits == 0 && value == 0)) {
    const auto r = std::to_chars(digits, digits + sizeof digits, magnitude);
    n = static_cast<int>(r.ptr - digits);
  }
  const int zeros = min_digits > n ? min_digits - n : 0;
  const int sign = value < 0 ? 1 : 0;
  const int len = sign + zeros + n;
  if (width == 0) {
    if (len == 0) {
      out += ' ';  // I0.0 of zero: one blank
      return;
    }
  } else if (len > width) {
    out.append(static_cast<std::size_t>(width), '*');
    return;
  }
  // Composed in place and appended once: blanks, sign, zeros, digits.
  const std::size_t field = width == 0 ? static_cast<std::size_t>(len)
                                       : static_cast<std::size_t>(width);
  const std::size_t at = out.size();
  out.resize(at + field, ' ');
  char* p = out.data() + at + (field - static_cast<std::size_t>(len));
  if (sign) *p++ = '-';
  for (int z = 0; z < zeros; ++z) *p++ = '0';
  std::memcpy(p, digits, static_cast<std::size_t>(n));
}

void append_A(std::string& out, std::string_view text, int width) {
  if (width < 0) {
    out += text;
    return;
  }
  const auto w = static_cast<std::size_t>(width);
  if (text.size() >= w) {
    out.append(text.substr(0, w));  // the leftmost w characters
  } else {
    out.append(w - text.size(), ' ');
    out += text;
  }
}

}  // namespace detail

std::string format_I(int value, int width) {
  std::string s;
  detail::append_I(s, value, width, -1);
  return s;
}

std::string format_A(std::string_view text, int width) {
  std::string s;
  detail::append_A(s, text, width);
  return s;
}

}  // namespace vorlane::records
