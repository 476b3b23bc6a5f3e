#pragma once
// The first 32 columns of a SHELX record (3I4, 2F8, I4) read in one go when every field has
// the usual form read_i4_at and read_f8_at read packed (right-justified, leading blanks, an
// optional minus sign, digits, in the F fields at most one point). The characters of the
// whole record are classified at once, 16 at a time, each field is checked, and the digits
// of all fields are read at once: each field gets the same digits, so the same mantissa and
// exactly the value its packed reader gives. A record with any field in another form is left
// to the field readers.
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "input/packed_fields.hpp"

namespace vorlane::input {

// Columns 1-32 of `p` (32 characters readable) as h, k, l, F squared, sigma and batch, when
// every field has its usual form; false (nothing stored) otherwise. An F field without a
// point has `implied` decimals; `without_point` is set to the number of such fields (0-2).
inline bool read_usual_shelx_record(const char* p, std::array<int, 3>& h, float& value,
                                    float& sigma, int& batch, int implied,
                                    int& without_point) {
#if defined(__SSE2__)
  // Bit i of a mask stands for column i + 1: h, k, l in bits 0-11, the two F fields in 12-19
  // and 20-27, the batch in 28-31.
  constexpr std::uint32_t ENDS = 0x88080888u;    // the last column of each field
  constexpr std::uint32_t I_ENDS = 0x80000888u;  // the same of the I fields
  constexpr std::uint32_t I_FIELDS = 0xF0000FFFu;
  constexpr std::uint32_t F1 = 0x000FF000u;
  constexpr std::uint32_t F2 = 0x0FF00000u;
  const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  const __m128i e = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16));
  if (_mm_movemask_epi8(_mm_or_si128(a, e)) != 0) return false;  // not ASCII
  auto mask = [](__m128i lo16, __m128i hi16) {
    return static_cast<std::uint32_t>(_mm_movemask_epi8(lo16)) |
           static_cast<std::uint32_t>(_mm_movemask_epi8(hi16)) << 16;
  };
  auto is = [](__m128i v, char c) { return _mm_cmpeq_epi8(v, _mm_set1_epi8(c)); };
  auto is_digit = [](__m128i v) {
    return _mm_and_si128(_mm_cmpgt_epi8(v, _mm_set1_epi8('0' - 1)),
                         _mm_cmplt_epi8(v, _mm_set1_epi8('9' + 1)));
  };
  const __m128i digit_a = is_digit(a);
  const __m128i digit_e = is_digit(e);
  const std::uint32_t blank = mask(is(a, ' '), is(e, ' '));
  const std::uint32_t minus = mask(is(a, '-'), is(e, '-'));
  const std::uint32_t point = mask(is(a, '.'), is(e, '.'));
  const std::uint32_t digit = mask(digit_a, digit_e);
  // Each field: blanks, then its body to its last column (a body column that is not a field's
  // last is followed by one), a sign only as the body's first column, only digits besides (and
  // one point in an F field), and a digit (for an I field: its last column).
  const std::uint32_t body = ~blank;
  const std::uint32_t followed = (body & ~ENDS) << 1;
  const std::uint32_t first = body & ~followed;
  const std::uint32_t f1_point = point & F1;
  const std::uint32_t f2_point = point & F2;
  if ((blank | minus | point | digit) != 0xFFFFFFFFu || (ENDS & blank) != 0 ||
      (followed & blank) != 0 || (minus & ~first) != 0 || (point & I_FIELDS) != 0 ||
      (f1_point & (f1_point - 1)) != 0 || (f2_point & (f2_point - 1)) != 0 ||
      (I_ENDS & ~digit) != 0 || (digit & F1) == 0 || (digit & F2) == 0) {
    return false;
  }
  // The values, all fields at once. The F fields (columns 13-28, read again as one vector:
  // each in a 64-bit half) have their point taken out first: the characters before it move
  // up one byte, so that their digits read as the mantissa. Non-digits count as 0.
  const auto up_to_point = [](std::uint32_t field_point) -> long long {
    // The bytes up to the point's, which move (none when there is no point).
    if (field_point == 0) return 0;
    return static_cast<long long>(~std::uint64_t{0} >> (56 - 8 * std::countr_zero(field_point)));
  };
  const __m128i zero = _mm_setzero_si128();
  const __m128i moved = _mm_set_epi64x(up_to_point(f2_point >> 20), up_to_point(f1_point >> 12));
  auto take_out_point = [moved](__m128i v) {
    return _mm_or_si128(_mm_and_si128(_mm_slli_epi64(v, 8), moved), _mm_andnot_si128(moved, v));
  };
  const __m128i f = take_out_point(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 12)));
  const __m128i f_digit =
      take_out_point(_mm_or_si128(_mm_srli_si128(digit_a, 12), _mm_slli_si128(digit_e, 4)));
  // Digits as numbers: pairs, fours, then eights (the F fields) in 32-bit lanes.
  const __m128i tens = _mm_set1_epi32(0x0001000A);     // 10, 1 in 16-bit lanes
  const __m128i hundreds = _mm_set1_epi32(0x00010064);  // 100, 1
  auto fours = [&](__m128i chars, __m128i digits) {
    const __m128i d = _mm_and_si128(_mm_sub_epi8(chars, _mm_set1_epi8('0')), digits);
    const __m128i pairs = _mm_packs_epi32(_mm_madd_epi16(_mm_unpacklo_epi8(d, zero), tens),
                                          _mm_madd_epi16(_mm_unpackhi_epi8(d, zero), tens));
    return _mm_madd_epi16(pairs, hundreds);  // four values of four digits
  };
  const __m128i f4 = fours(f, f_digit);
  const __m128i f8 = _mm_madd_epi16(_mm_packs_epi32(f4, zero), _mm_set1_epi32(0x00012710));
  // h, k, l from columns 1-12, the batch from columns 29-32.
  const __m128i i_mask = _mm_set_epi32(0, -1, -1, -1);
  const __m128i ihkl = _mm_or_si128(_mm_and_si128(a, i_mask), _mm_andnot_si128(i_mask, e));
  const __m128i ihkl_digit =
      _mm_or_si128(_mm_and_si128(digit_a, i_mask), _mm_andnot_si128(i_mask, digit_e));
  const __m128i i4 = fours(ihkl, ihkl_digit);
  const auto mantissa1 = static_cast<std::uint32_t>(_mm_cvtsi128_si32(f8));
  const auto mantissa2 = static_cast<std::uint32_t>(_mm_cvtsi128_si32(_mm_srli_si128(f8, 4)));
  // The F fields' values first: one that does not make a float exactly leaves the record to
  // the field readers before anything is stored.
  float f1 = 0.0f;
  float f2 = 0.0f;
  if (!detail::mantissa_value(mantissa1,
                              f1_point != 0 ? 19 - std::countr_zero(f1_point) : implied,
                              (minus & F1) != 0, f1) ||
      !detail::mantissa_value(mantissa2,
                              f2_point != 0 ? 27 - std::countr_zero(f2_point) : implied,
                              (minus & F2) != 0, f2)) {
    return false;
  }
  // Both F fields hold a digit (tested above): one without a point took the implied decimals.
  without_point = static_cast<int>(f1_point == 0) + static_cast<int>(f2_point == 0);
  auto signed_value = [](int v, bool negative) {
    const int m = -static_cast<int>(negative);
    return (v ^ m) - m;
  };
  h[0] = signed_value(_mm_cvtsi128_si32(i4), (minus & 0x0000000Fu) != 0);
  h[1] = signed_value(_mm_cvtsi128_si32(_mm_srli_si128(i4, 4)), (minus & 0x000000F0u) != 0);
  h[2] = signed_value(_mm_cvtsi128_si32(_mm_srli_si128(i4, 8)), (minus & 0x00000F00u) != 0);
  batch = signed_value(_mm_cvtsi128_si32(_mm_srli_si128(i4, 12)), (minus & 0xF0000000u) != 0);
  value = f1;
  sigma = f2;
  return true;
#else
  (void)p;
  (void)h;
  (void)value;
  (void)sigma;
  (void)batch;
  (void)implied;
  (void)without_point;
  return false;
#endif
}

}  // namespace vorlane::input
