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

// The digits of the bytes of `x` flagged 0xFF in `keep` as decimal numbers, the first byte the
// most significant: the two 4-byte halves as two numbers.
inline std::uint64_t two_decimal_values(std::uint64_t x, std::uint64_t keep) {
  std::uint64_t t = (x & keep) - (BYTES_01 * '0' & keep);
  t = (t * 10 + (t >> 8)) & 0x00FF00FF00FF00FFull;
  t = (t * 100 + (t >> 16)) & 0x0000FFFF0000FFFFull;
  return t;
}

}  // namespace detail

// Columns 1-32 of `p` (32 characters readable) as h, k, l, F squared, sigma and batch, when
// every field has its usual form; false (nothing stored) otherwise.
inline bool read_usual_shelx_record(const char* p, std::array<int, 3>& h, float& value,
                                    float& sigma, int& batch) {
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
  const auto lo = [](__m128i v) { return static_cast<std::uint64_t>(_mm_cvtsi128_si64(v)); };
  const auto hi = [](__m128i v) {
    return static_cast<std::uint64_t>(_mm_cvtsi128_si64(_mm_unpackhi_epi64(v, v)));
  };
  const std::uint64_t a_lo = lo(a), a_hi = hi(a), e_lo = lo(e), e_hi = hi(e);
  const std::uint64_t da_lo = lo(digit_a), da_hi = hi(digit_a);
  const std::uint64_t de_lo = lo(digit_e), de_hi = hi(digit_e);
  // The F fields' values first: one that does not make a float exactly leaves the record to
  // the field readers before anything is stored.
  float f1 = 0.0f;
  float f2 = 0.0f;
  if (!detail::packed_f8_value((a_hi >> 32) | (e_lo << 32), (da_hi >> 32) | (de_lo << 32),
                               f1_point != 0 ? std::countr_zero(f1_point) - 12 : 8,
                               (minus & F1) != 0, 0, f1) ||
      !detail::packed_f8_value((e_lo >> 32) | (e_hi << 32), (de_lo >> 32) | (de_hi << 32),
                               f2_point != 0 ? std::countr_zero(f2_point) - 20 : 8,
                               (minus & F2) != 0, 0, f2)) {
    return false;
  }
  // h and k from columns 1-8, l and the batch from columns 9-12 and 29-32.
  const std::uint64_t hk = detail::two_decimal_values(a_lo, da_lo);
  const std::uint64_t lb = detail::two_decimal_values(
      (a_hi & 0xFFFFFFFFull) | (e_hi & 0xFFFFFFFF00000000ull),
      (da_hi & 0xFFFFFFFFull) | (de_hi & 0xFFFFFFFF00000000ull));
  auto signed_value = [](std::uint64_t v, bool negative) {
    const int m = -static_cast<int>(negative);
    return (static_cast<int>(v & 0xFFFF) ^ m) - m;
  };
  h[0] = signed_value(hk, (minus & 0x0000000Fu) != 0);
  h[1] = signed_value(hk >> 32, (minus & 0x000000F0u) != 0);
  h[2] = signed_value(lb, (minus & 0x00000F00u) != 0);
  batch = signed_value(lb >> 32, (minus & 0xF0000000u) != 0);
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
