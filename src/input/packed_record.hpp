#pragma once
// The first 32 columns of a SHELX record (3I4, 2F8, I4) read in one go when every field has
// the usual form read_i4_at and read_f8_at read packed (right-justified, leading blanks, an
// optional minus sign, digits, in the F fields at most one point). The characters of the
// whole record are classified at once, 16 at a time; each field is then checked and
// converted with the same arithmetic as its packed reader, so it gets exactly the value that
// reader gives. A record with any field in another form is left to the field readers.
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "input/packed_fields.hpp"

namespace vorlane::input {

namespace detail {

// Bit i of each mask stands for character i of a field group.
struct CharClasses {
  std::uint32_t blank = 0;
  std::uint32_t minus = 0;
  std::uint32_t point = 0;
  std::uint32_t digit = 0;
};

// Whether the field of `width` characters at bit `at` of the masks has the usual form: blanks,
// then an optional minus sign, then digits (and, when allowed, one point) to its end, with at
// least one digit.
inline bool usual_field(const CharClasses& c, int at, int width, bool point_allowed) {
  const std::uint32_t field = ((std::uint32_t{1} << width) - 1) << at;
  const std::uint32_t body = field & ~c.blank;
  if (body == 0 || (c.digit & field) == 0) return false;
  // The body runs to the field's end: adding its lowest bit carries out of the field.
  const std::uint32_t first = body & (0u - body);
  if (((body + first) & field) != 0) return false;
  if ((c.minus & field & ~first) != 0) return false;  // a sign only before the body
  const std::uint32_t points = c.point & field;
  if (!point_allowed) return points == 0;
  return (points & (points - 1)) == 0;
}

// The digits of the bytes of `x` flagged 0xFF in `keep` as decimal numbers, the first byte the
// most significant: the two 4-byte halves as two numbers.
inline std::uint64_t two_decimal_values(std::uint64_t x, std::uint64_t keep) {
  std::uint64_t t = (x & keep) - (BYTES_01 * '0' & keep);
  t = (t * 10 + (t >> 8)) & 0x00FF00FF00FF00FFull;
  t = (t * 100 + (t >> 16)) & 0x0000FFFF0000FFFFull;
  return t;
}

// An F8 field whose characters are `x`, its digit bytes flagged in `keep` and its point (if
// any) at byte `point_byte` (8: none), as read_packed_f8 reads it; false when its digits do not
// make a float exactly.
inline bool packed_f8_value(std::uint64_t x, std::uint64_t keep, int point_byte, bool minus,
                            int decimals, float& value) {
  const std::uint64_t digits = keep & BYTES_80;
  const std::uint32_t whole = decimal_value(x, digits);  // the point counts as a 0 digit
  std::uint32_t mantissa = whole;
  int scale = decimals;
  if (point_byte < 8) {
    // The decimals: the bytes after the point.
    scale = 7 - point_byte;
    const std::uint64_t after = BYTES_80 & ~((std::uint64_t{0x100} << (8 * point_byte)) - 1);
    const std::uint32_t fraction = decimal_value(x, digits & after);
    mantissa = (whole - fraction) / 10 + fraction;
  }
  if (!(mantissa / 10 < (1u << 24) / 10 && mantissa < (1u << 24)) || scale > 10) return false;
  const float v = static_cast<float>(mantissa) / POWERS_OF_TEN[scale];
  value = std::bit_cast<float>(std::bit_cast<std::uint32_t>(v) |
                               (static_cast<std::uint32_t>(minus) << 31));
  return true;
}

}  // namespace detail

// Columns 1-32 of `p` (32 characters readable) as h, k, l, F squared, sigma and batch, when
// every field has its usual form; false (nothing stored) otherwise.
inline bool read_usual_shelx_record(const char* p, std::array<int, 3>& h, float& value,
                                    float& sigma, int& batch) {
#if defined(__SSE2__)
  using detail::CharClasses;
  // A: columns 1-16 (h, k, l), C: columns 13-28 (the two F fields), E: columns 17-32 (the
  // batch in its last four).
  const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 12));
  const __m128i e = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16));
  if (_mm_movemask_epi8(_mm_or_si128(a, e)) != 0) return false;  // not ASCII
  auto classes = [](__m128i v, __m128i& digit) {
    CharClasses k;
    k.blank = static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_set1_epi8(' '))));
    k.minus = static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_set1_epi8('-'))));
    k.point = static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_set1_epi8('.'))));
    digit = _mm_and_si128(_mm_cmpgt_epi8(v, _mm_set1_epi8('0' - 1)),
                          _mm_cmplt_epi8(v, _mm_set1_epi8('9' + 1)));
    k.digit = static_cast<std::uint32_t>(_mm_movemask_epi8(digit));
    return k;
  };
  __m128i digit_a, digit_c, digit_e;
  const CharClasses ka = classes(a, digit_a);
  const CharClasses kc = classes(c, digit_c);
  const CharClasses ke = classes(e, digit_e);
  // Every character of a field one of the four kinds, and each field in its usual form.
  const std::uint32_t known_a = ka.blank | ka.minus | ka.point | ka.digit;
  const std::uint32_t known_c = kc.blank | kc.minus | kc.point | kc.digit;
  const std::uint32_t known_e = ke.blank | ke.minus | ke.point | ke.digit;
  if ((known_a & 0x0FFFu) != 0x0FFFu || known_c != 0xFFFFu || (known_e & 0xF000u) != 0xF000u) {
    return false;
  }
  if (!detail::usual_field(ka, 0, 4, false) || !detail::usual_field(ka, 4, 4, false) ||
      !detail::usual_field(ka, 8, 4, false) || !detail::usual_field(kc, 0, 8, true) ||
      !detail::usual_field(kc, 8, 8, true) || !detail::usual_field(ke, 12, 4, false)) {
    return false;
  }
  // The F fields' values first: one that does not make a float exactly leaves the record to
  // the field readers before anything is stored.
  const auto lo = [](__m128i v) { return static_cast<std::uint64_t>(_mm_cvtsi128_si64(v)); };
  const auto hi = [](__m128i v) {
    return static_cast<std::uint64_t>(_mm_cvtsi128_si64(_mm_unpackhi_epi64(v, v)));
  };
  float f1 = 0.0f;
  float f2 = 0.0f;
  const std::uint32_t point1 = kc.point & 0xFFu;
  const std::uint32_t point2 = (kc.point >> 8) & 0xFFu;
  if (!detail::packed_f8_value(lo(c), lo(digit_c), point1 != 0 ? std::countr_zero(point1) : 8,
                               (kc.minus & 0xFFu) != 0, 0, f1) ||
      !detail::packed_f8_value(hi(c), hi(digit_c), point2 != 0 ? std::countr_zero(point2) : 8,
                               (kc.minus & 0xFF00u) != 0, 0, f2)) {
    return false;
  }
  // h and k from the first eight characters, l and the batch from characters 9-12 and 29-32.
  const std::uint64_t hk = detail::two_decimal_values(lo(a), lo(digit_a));
  const std::uint64_t lb_chars = (hi(a) & 0xFFFFFFFFull) | (hi(e) & 0xFFFFFFFF00000000ull);
  const std::uint64_t lb_keep = (hi(digit_a) & 0xFFFFFFFFull) | (hi(digit_e) & 0xFFFFFFFF00000000ull);
  const std::uint64_t lb = detail::two_decimal_values(lb_chars, lb_keep);
  auto signed_value = [](std::uint64_t v, bool minus) {
    const int m = -static_cast<int>(minus);
    return (static_cast<int>(v & 0xFFFF) ^ m) - m;
  };
  h[0] = signed_value(hk, (ka.minus & 0x000Fu) != 0);
  h[1] = signed_value(hk >> 32, (ka.minus & 0x00F0u) != 0);
  h[2] = signed_value(lb, (ka.minus & 0x0F00u) != 0);
  batch = signed_value(lb >> 32, (ke.minus & 0xF000u) != 0);
  value = f1;
  sigma = f2;
  return true;
#else
  (void)p;
  (void)h;
  (void)value;
  (void)sigma;
  (void)batch;
  return false;
#endif
}

}  // namespace vorlane::input
