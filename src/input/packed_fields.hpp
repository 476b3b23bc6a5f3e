#pragma once
// The usual forms of the widest fields of a SHELX record, read eight or four characters at a
// time: a right-justified number with leading blanks and an optional minus sign, as programs
// write them. The characters are classified and the digits combined in one 64-bit (or
// 32-bit) word each, without a branch per character. Every other form (a plus sign, trailing
// or embedded blanks, anything else) is left to the field readers of fixed_fields.hpp, and
// what these accept they read to exactly the value those give.
#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "input/fixed_fields.hpp"

namespace vorlane::input::detail {

inline constexpr std::uint64_t BYTES_01 = 0x0101010101010101ull;
inline constexpr std::uint64_t BYTES_80 = 0x8080808080808080ull;

// Bit 7 of each byte of `x` (ASCII only) set where the byte is `c`.
inline std::uint64_t bytes_equal(std::uint64_t x, char c) {
  const std::uint64_t y = x ^ (BYTES_01 * static_cast<unsigned char>(c));
  return ~(((y & ~BYTES_80) + ~BYTES_80) | y) & BYTES_80;
}

// Bit 7 of each byte of `x` (ASCII only) set where the byte is a digit.
inline std::uint64_t bytes_digit(std::uint64_t x) {
  const std::uint64_t at_least_0 = x + BYTES_01 * (0x80 - '0');
  const std::uint64_t above_9 = x + BYTES_01 * (0x80 - '9' - 1);
  return at_least_0 & ~above_9 & BYTES_80;
}

// The 8 characters of `x` as a decimal number, the first character the most significant;
// every byte not in `digits` (bit 7 per byte) counts as a 0.
inline std::uint32_t decimal_value(std::uint64_t x, std::uint64_t digits) {
  const std::uint64_t keep = (digits >> 7) * 0xFF;
  std::uint64_t t = (x & keep) - (BYTES_01 * '0' & keep);
  t = (t * 10 + (t >> 8)) & 0x00FF00FF00FF00FFull;
  t = (t * 100 + (t >> 16)) & 0x0000FFFF0000FFFFull;
  t = (t * 10000 + (t >> 32)) & 0xFFFFFFFFull;
  return static_cast<std::uint32_t>(t);
}

// The classes of the 8 characters of `x`: false unless they are blanks, then an optional
// minus sign, then digits with at most one point (when `point_allowed`) to the end, with at
// least one digit. `minus` tells whether the sign is there, `point` holds bit 7 of the point's
// byte (0 when there is none).
inline bool right_justified(std::uint64_t x, bool point_allowed, std::uint64_t& digits,
                            bool& minus, std::uint64_t& point) {
  if ((x & BYTES_80) != 0) return false;
  const std::uint64_t blank = bytes_equal(x, ' ');
  const std::uint64_t sign = bytes_equal(x, '-');
  point = point_allowed ? bytes_equal(x, '.') : 0;
  digits = bytes_digit(x);
  if ((blank | sign | point | digits) != BYTES_80 || digits == 0) return false;
  if ((point & (point - 1)) != 0) return false;  // more than one point
  const std::uint64_t body = BYTES_80 & ~blank;
  const int first = std::countr_zero(body);  // bit 7 of the first byte after the blanks
  if (body != BYTES_80 << (first - 7)) return false;  // blanks only before the body
  minus = sign != 0;
  // The sign, if any, is the body's first character (tested without a branch on it: signs
  // come and go from record to record).
  return (sign & ~(std::uint64_t{0x80} << (first - 7))) == 0;
}

// An I4 field at `p` in its usual form. False (value untouched) otherwise.
inline bool read_packed_i4(const char* p, int& value) {
  std::uint32_t w;
  std::memcpy(&w, p, 4);
  // The four characters in the last four bytes of the word, after four blanks.
  const std::uint64_t x = (static_cast<std::uint64_t>(w) << 32) | (BYTES_01 * ' ' >> 32);
  std::uint64_t digits = 0;
  std::uint64_t point = 0;
  bool minus = false;
  if (!right_justified(x, false, digits, minus, point)) return false;
  const auto v = static_cast<int>(decimal_value(x, digits));
  const int negate = -static_cast<int>(minus);  // all ones for a minus sign
  value = (v ^ negate) - negate;
  return true;
}

// The value of an F field whose digits, the point taken out, read `mantissa`, with `scale`
// decimals. False (value untouched) when they do not make a float exactly.
inline bool mantissa_value(std::uint32_t mantissa, int scale, bool minus, float& value) {
  if (!(mantissa / 10 < (1u << 24) / 10 && mantissa < (1u << 24)) || scale > 10) return false;
  const float v = static_cast<float>(mantissa) / POWERS_OF_TEN[scale];
  value = std::bit_cast<float>(std::bit_cast<std::uint32_t>(v) |
                               (static_cast<std::uint32_t>(minus) << 31));
  return true;
}

// The value of an F8 field in its usual form: its characters `x`, its digit bytes flagged 0xFF
// in `keep`, its point (if any) at byte `point_byte` (8: none). False (value untouched) when
// its digits do not make a float exactly.
inline bool packed_f8_value(std::uint64_t x, std::uint64_t keep, int point_byte, bool minus,
                            int decimals, float& value) {
  std::uint64_t digits = keep & BYTES_80;
  int scale = decimals;
  if (point_byte < 8) {
    // The decimals: the bytes after the point. The point is taken out: the characters before
    // it move up one byte (the first byte, now empty, is no digit), so that all the digits
    // read as one number, the mantissa.
    scale = 7 - point_byte;
    const std::uint64_t before = (std::uint64_t{1} << (8 * point_byte)) - 1;
    const std::uint64_t after = ~before << 8;
    x = (x & before) << 8 | (x & after);
    digits = (digits & before) << 8 | (digits & after);
  }
  return mantissa_value(decimal_value(x, digits), scale, minus, value);
}

// An F8.d field at `p` in its usual form, with `decimals` implied decimals when it has no
// point. False (value untouched) otherwise, and also when its digits do not make a float
// exactly (the general reader then rounds them).
inline bool read_packed_f8(const char* p, int decimals, float& value) {
  std::uint64_t x;
  std::memcpy(&x, p, 8);
  std::uint64_t digits = 0;
  std::uint64_t point = 0;
  bool minus = false;
  if (!right_justified(x, true, digits, minus, point)) return false;
  return packed_f8_value(x, (digits >> 7) * 0xFF,
                         point != 0 ? (std::countr_zero(point) - 7) / 8 : 8, minus, decimals,
                         value);
}

}  // namespace vorlane::input::detail

namespace vorlane::input {

// The I4 field at `column` of `record` (read_int_field_at<4>), its usual form read packed.
inline bool read_i4_at(std::string_view record, int column, int& value) {
  const auto pos = static_cast<std::size_t>(column - 1);
  return (pos + 4 <= record.size() && detail::read_packed_i4(record.data() + pos, value)) ||
         read_int_field_at<4>(record, column, value);
}

// The F8.d field at `column` of `record` (read_real_field_at<8>), its usual form read packed.
inline bool read_f8_at(std::string_view record, int column, int decimals, float& value) {
  const auto pos = static_cast<std::size_t>(column - 1);
  return (pos + 8 <= record.size() &&
          detail::read_packed_f8(record.data() + pos, decimals, value)) ||
         read_real_field_at<8>(record, column, decimals, value);
}

}  // namespace vorlane::input
