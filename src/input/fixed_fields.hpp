#pragma once
// Numeric fields of the fixed-column input records, read as the record layouts define them
// (blank field zero, embedded blanks ignored, implied decimals), with a fast path for the
// plain forms that make up nearly every field of a reflection file.
#include <string_view>

namespace vorlane::input {

// Columns `column` .. `column + width - 1` (1-based) of `record`; a record that ends early
// gives what is left of the field, possibly nothing (read as blanks).
inline std::string_view field_at(std::string_view record, int column, int width) {
  const auto pos = static_cast<std::size_t>(column - 1);
  if (pos >= record.size()) return {};
  return record.substr(pos, static_cast<std::size_t>(width));
}

// An Iw field. False when the field is not an integer.
bool read_int_field(std::string_view field, int& value);

// An Fw.d field with d = `decimals`. False when the field is not a number, and also when it
// reads as NaN or an infinity (a value that would poison every sum it enters).
bool read_real_field(std::string_view field, int decimals, float& value);

}  // namespace vorlane::input
