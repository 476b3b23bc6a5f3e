// Number tokens to values, with std::from_chars only (locale-free, correctly rounded).
#include "records/number_parse.hpp"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <string_view>
#include <system_error>

namespace vorlane::records::detail {

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool equals_lower(std::string_view s, std::string_view word) {
  if (s.size() != word.size()) return false;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (lower(s[i]) != word[i]) return false;
  }
  return true;
}

// 1: NaN, 2: Inf, 0: neither. `negative` gets the sign.
int non_finite_kind(std::string_view s, bool& negative) {
  negative = false;
  if (!s.empty() && (s[0] == '+' || s[0] == '-')) {
    negative = s[0] == '-';
    s.remove_prefix(1);
  }
  if (equals_lower(s, "inf") || equals_lower(s, "infinity")) return 2;
  if (equals_lower(s, "nan")) return 1;
  // NaN(payload): the payload is ignored.
  if (s.size() >= 5 && equals_lower(s.substr(0, 4), "nan(") && s.back() == ')') return 1;
  return 0;
}

template <class T>
bool non_finite(std::string_view token, T& value) {
  bool negative = false;
  const int kind = non_finite_kind(token, negative);
  if (kind == 0) return false;
  const T v = kind == 1 ? std::numeric_limits<T>::quiet_NaN() : std::numeric_limits<T>::infinity();
  value = negative ? -v : v;
  return true;
}

template <class T>
bool real(std::string_view s, int implied, RealSyntax syntax, T& value) {
  // A fixed field is checked for NaN / Inf by its reader, before its blanks are removed.
  if (syntax == RealSyntax::list_item && non_finite(s, value)) return true;
  std::size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
    negative = s[i] == '-';
    ++i;
  }
  // Significant digits (leading zeros dropped) and the power of ten of the last one.
  std::string digits;
  long scale = 0;
  bool any_digit = false;
  bool point = false;
  for (; i < s.size(); ++i) {
    const char c = s[i];
    if (is_digit(c)) {
      any_digit = true;
      if (!digits.empty() || c != '0') digits += c;
      if (point) --scale;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  long exponent = 0;
  bool has_exponent = false;
  if (i < s.size()) {
    const char c = lower(s[i]);
    if (c == 'e' || c == 'd' || c == 'q') {
      ++i;
    } else if (c != '+' && c != '-') {
      return false;
    }
    bool exp_negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
      exp_negative = s[i] == '-';
      ++i;
    }
    if (i >= s.size()) return false;  // "1.5E", "1.5E+", "1.5-"
    for (; i < s.size(); ++i) {
      if (!is_digit(s[i])) return false;
      if (exponent < 100000000) exponent = exponent * 10 + (s[i] - '0');
    }
    if (exp_negative) exponent = -exponent;
    has_exponent = true;
  }
  if (!any_digit) {
    if (syntax == RealSyntax::list_item) return false;
    // Empty, a lone sign: +0.0. A point or an exponent without digits: a zero with the sign.
    value = (negative && (point || has_exponent)) ? -T(0) : T(0);
    return true;
  }
  if (digits.empty()) {
    value = negative ? -T(0) : T(0);
    return true;
  }
  if (!point) scale -= implied;
  const long power = exponent + scale;  // value = digits * 10^power
  digits += 'e';
  digits += std::to_string(power);
  T magnitude{};
  const auto r = std::from_chars(digits.data(), digits.data() + digits.size(), magnitude,
                                 std::chars_format::scientific);
  if (r.ec == std::errc::result_out_of_range) {
    // Too large or too small for the type: decided by the decimal magnitude.
    const long size = static_cast<long>(digits.find('e'));
    magnitude = (power + size > 0) ? std::numeric_limits<T>::infinity() : T(0);
  } else if (r.ec != std::errc()) {
    return false;
  }
  value = negative ? -magnitude : magnitude;
  return true;
}

}  // namespace

bool parse_integer(std::string_view s, int& value) {
  std::size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
    negative = s[i] == '-';
    ++i;
  }
  if (i >= s.size()) return false;
  long long v = 0;
  for (; i < s.size(); ++i) {
    if (!is_digit(s[i])) return false;
    v = v * 10 + (s[i] - '0');
    if (v > 2147483648LL) return false;
  }
  if (negative) v = -v;
  if (v > std::numeric_limits<int>::max()) return false;
  value = static_cast<int>(v);
  return true;
}

bool parse_real(std::string_view token, int implied, RealSyntax syntax, float& value) {
  return real(token, implied, syntax, value);
}

bool parse_real(std::string_view token, int implied, RealSyntax syntax, double& value) {
  return real(token, implied, syntax, value);
}

bool parse_non_finite(std::string_view token, float& value) { return non_finite(token, value); }

bool parse_non_finite(std::string_view token, double& value) { return non_finite(token, value); }

}  // namespace vorlane::records::detail
