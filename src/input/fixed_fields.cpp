#include "input/fixed_fields.hpp"

#include <cmath>

#include "records/fixed_reader.hpp"

namespace vorlane::input::detail {

bool read_int_field_general(std::string_view field, int& value) {
  return records::read_I(field, value).status == records::ReadStatus::ok;
}

bool read_real_field_general(std::string_view field, int decimals, float& value) {
  float v = 0.0f;
  if (records::read_F(field, decimals, v).status != records::ReadStatus::ok) return false;
  if (!std::isfinite(v)) return false;
  value = v;
  return true;
}

}  // namespace vorlane::input::detail
