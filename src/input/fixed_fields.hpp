#pragma once
// Numeric fields of the fixed-column input records, read as the record layouts define them
// (blank field zero, embedded blanks ignored, implied decimals), with a fast path for the
// plain forms that make up nearly every field of a reflection file. The fast paths are
// defined here so that the record parsers, which call them a dozen times a record, inline
// them; every other form goes to the general field reader.
#include <cstdint>
#include <string_view>

namespace vorlane::input {

// Columns `column` .. `column + width - 1` (1-based) of `record`; a record that ends early
// gives what is left of the field, possibly nothing (read as blanks).
inline std::string_view field_at(std::string_view record, int column, int width) {
  const auto pos = static_cast<std::size_t>(column - 1);
  if (pos >= record.size()) return {};
  return record.substr(pos, static_cast<std::size_t>(width));
}

namespace detail {

inline bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Exact powers of ten in single precision (5^10 < 2^24).
inline constexpr float POWERS_OF_TEN[] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f,
                                          1e6f, 1e7f, 1e8f, 1e9f, 1e10f};

// The general readers, for the fields the fast paths leave.
bool read_int_field_general(std::string_view field, int& value);
bool read_real_field_general(std::string_view field, int decimals, float& value);

// Fast path of an Iw field: [blanks][sign]digits[blanks] with at most nine digits. False
// (value untouched) for any other form.
inline bool read_plain_int(std::string_view field, int& value) {
  std::size_t i = 0;
  const std::size_t n = field.size();
  while (i < n && field[i] == ' ') ++i;
  if (i == n) {
    value = 0;
    return true;
  }
  bool negative = false;
  if (field[i] == '-' || field[i] == '+') {
    negative = field[i] == '-';
    ++i;
  }
  const std::size_t start = i;
  // Unsigned: digits beyond the ninth (left to the general reader) wrap instead of
  // overflowing.
  unsigned v = 0;
  while (i < n && is_digit(field[i])) v = v * 10 + static_cast<unsigned>(field[i++] - '0');
  const std::size_t digits = i - start;
  while (i < n && field[i] == ' ') ++i;
  if (i == n && digits > 0 && digits <= 9) {
    value = negative ? -static_cast<int>(v) : static_cast<int>(v);
    return true;
  }
  return false;
}

// Fast path of an Fw.d field: [blanks][sign][digits][.digits][blanks] with a mantissa below
// 2^24 and at most ten decimals. Both the mantissa and the power of ten are exact floats, so
// one division gives the correctly rounded value, as a single rounding of the decimal number
// does. False (value untouched) for any other form.
inline bool read_plain_real(std::string_view field, int decimals, float& value) {
  std::size_t i = 0;
  const std::size_t n = field.size();
  while (i < n && field[i] == ' ') ++i;
  if (i == n) {
    value = 0.0f;
    return true;
  }
  bool negative = false;
  if (field[i] == '-' || field[i] == '+') {
    negative = field[i] == '-';
    ++i;
  }
  std::uint32_t mantissa = 0;
  int digits = 0;
  int fraction = -1;  // digits after the point; -1 when there is no point
  bool fits = true;
  for (; i < n; ++i) {
    const char c = field[i];
    if (is_digit(c)) {
      if (mantissa >= (1u << 24) / 10) fits = false;
      mantissa = mantissa * 10 + static_cast<std::uint32_t>(c - '0');
      ++digits;
      if (fraction >= 0) ++fraction;
    } else if (c == '.' && fraction < 0) {
      fraction = 0;
    } else {
      break;
    }
  }
  while (i < n && field[i] == ' ') ++i;
  const int scale = fraction >= 0 ? fraction : decimals;
  if (i == n && digits > 0 && fits && mantissa < (1u << 24) && scale >= 0 && scale <= 10) {
    const float v = static_cast<float>(mantissa) / POWERS_OF_TEN[scale];
    value = negative ? -v : v;
    return true;
  }
  return false;
}

// The W characters of the field at `column` (1-based) of `record`: in place, or copied into
// `pad` and filled up with blanks when the record ends inside the field. Trailing blanks and
// the end of the field read alike on the fast paths.
template <int W>
inline std::string_view padded_field(std::string_view record, int column, char (&pad)[W]) {
  const auto pos = static_cast<std::size_t>(column - 1);
  if (pos + W <= record.size()) return record.substr(pos, W);
  for (int i = 0; i < W; ++i) {
    const std::size_t at = pos + static_cast<std::size_t>(i);
    pad[i] = at < record.size() ? record[at] : ' ';
  }
  return std::string_view(pad, W);
}

}  // namespace detail

// An Iw field. False when the field is not an integer.
inline bool read_int_field(std::string_view field, int& value) {
  // Anything but the plain form (blanks between digits, long numbers, bad characters): the
  // general reader.
  return detail::read_plain_int(field, value) || detail::read_int_field_general(field, value);
}

// An Fw.d field with d = `decimals`. False when the field is not a number, and also when it
// reads as NaN or an infinity (a value that would poison every sum it enters).
inline bool read_real_field(std::string_view field, int decimals, float& value) {
  return detail::read_plain_real(field, decimals, value) ||
         detail::read_real_field_general(field, decimals, value);
}

// The same for the field of width W at `column` of `record` (field_at(record, column, W)),
// with the width known to the compiler.
template <int W>
inline bool read_int_field_at(std::string_view record, int column, int& value) {
  char pad[W];
  return detail::read_plain_int(detail::padded_field<W>(record, column, pad), value) ||
         detail::read_int_field_general(field_at(record, column, W), value);
}
template <int W>
inline bool read_real_field_at(std::string_view record, int column, int decimals,
                               float& value) {
  char pad[W];
  return detail::read_plain_real(detail::padded_field<W>(record, column, pad), decimals,
                                 value) ||
         detail::read_real_field_general(field_at(record, column, W), decimals, value);
}



}  // namespace vorlane::input
