#pragma once
// Numbers in the text of integration programs' files, locale-free.
#include <string_view>
#include <vector>

#include "input/integration_data.hpp"

namespace vorlane::input {

// A real in plain or exponent notation (a leading '+' allowed); the whole text must be the
// number, and it must be finite.
bool parse_real(std::string_view text, double& value);
// A whole number (a leading '+' allowed); the whole text must be the number.
bool parse_whole(std::string_view text, int& value);
// A real with the precision its text gives: half a unit of its last decimal (of the mantissa,
// scaled by the exponent). False when the text is not a number.
bool parse_header_value(std::string_view text, HeaderValue& value);

// The words of a line, split at blanks and tabs.
std::vector<std::string_view> words_of(std::string_view line);

// The text shown for a line in a message: at most 60 characters.
std::string shown_text(std::string_view line);

}  // namespace vorlane::input
