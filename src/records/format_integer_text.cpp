// I and A fields.
#include <charconv>
#include <cstdlib>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "records/edit_list.hpp"
#include "records/field_format.hpp"

namespace vorlane::records {

namespace detail {

namespace {

void put_word(std::string& out, std::uint64_t word, int width) {
  char bytes[8];
  std::memcpy(bytes, &word, 8);
  out.append(bytes, static_cast<std::size_t>(width));
}

}  // namespace

bool short_I_word(int value, int width, int min_digits, std::uint64_t& word) {
  if (min_digits > 1 || (min_digits == 0 && value == 0) || width < 1 || width > 8) return false;
  const bool negative = value < 0;
  auto m = static_cast<std::uint32_t>(negative ? 0u - static_cast<std::uint32_t>(value)
                                               : static_cast<std::uint32_t>(value));
  std::uint64_t w = 0x2020202020202020ull;
  int column = width;
  do {
    if (column == 0) return false;  // does not fit
    --column;
    w ^= static_cast<std::uint64_t>(('0' + m % 10) ^ 0x20u) << (8 * column);
    m /= 10;
  } while (m != 0);
  if (negative) {
    if (column == 0) return false;
    --column;
    w ^= static_cast<std::uint64_t>('-' ^ 0x20u) << (8 * column);
  }
  word = w;
  return true;
}

void append_I(std::string& out, int value, int width, int min_digits) {
  // The usual I field (no minimum digit count, at most 8 columns, the value fits) in one
  // store.
  if (std::uint64_t word = 0; short_I_word(value, width, min_digits, word)) {
    put_word(out, word, width);
    return;
  }
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
  if (w == 1 && !text.empty()) {  // the usual flag or mark
    out.push_back(text[0]);
    return;
  }
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
