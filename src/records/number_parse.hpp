#pragma once
// Converting one number token (no blanks inside) to int, float or double. Shared by the
// fixed-field and free-format readers, which differ only in what they accept as a token.
#include <string_view>

namespace vorlane::records::detail {

// [sign]digits within the int range. False otherwise (the value is untouched).
bool parse_integer(std::string_view token, int& value);

enum class RealSyntax {
  fixed_field,  // a field of an F descriptor, blanks removed: an empty mantissa reads as zero
  list_item,    // a free-format item: at least one mantissa digit
};

// [sign][digits][.digits][exponent] with exponent = (E|D|Q)[sign]digits or sign digits; a
// list item may also be NaN, NaN(...), Inf or Infinity in any case with an optional sign.
// Without a decimal point the value is scaled by 10^-implied_decimals (before the exponent
// applies). The exact decimal value is rounded once to the target type; overflow gives an
// infinity and underflow a denormal or zero, as a Fortran read does. False on bad syntax
// (the value is untouched).
bool parse_real(std::string_view token, int implied_decimals, RealSyntax syntax, float& value);
bool parse_real(std::string_view token, int implied_decimals, RealSyntax syntax, double& value);

// NaN / Inf words only (optional sign).
bool parse_non_finite(std::string_view token, float& value);
bool parse_non_finite(std::string_view token, double& value);

}  // namespace vorlane::records::detail
