#include "input/fixed_fields.hpp"
#include "input/input_record.hpp"

namespace vorlane::input {

bool parse_zezor_record(std::string_view record, InputRecord& r) {
  bool ok = read_int_field(field_at(record, 1, 3), r.h[0]) &&
            read_int_field(field_at(record, 4, 3), r.h[1]) &&
            read_int_field(field_at(record, 7, 3), r.h[2]) &&
            read_real_field(field_at(record, 10, 10), 3, r.value) &&
            read_real_field(field_at(record, 20, 6), 3, r.sigma) &&
            read_real_field(field_at(record, 26, 10), 5, r.aux);
  for (int i = 0; ok && i < 4; ++i) {
    ok = read_real_field(field_at(record, 46 + 7 * i, 7), 2, r.angles[static_cast<std::size_t>(i)]);
  }
  return ok;
}

bool parse_shelx_record(std::string_view record, InputRecord& r) {
  bool ok = read_int_field(field_at(record, 1, 4), r.h[0]) &&
            read_int_field(field_at(record, 5, 4), r.h[1]) &&
            read_int_field(field_at(record, 9, 4), r.h[2]) &&
            read_real_field(field_at(record, 13, 8), 0, r.value) &&
            read_real_field(field_at(record, 21, 8), 0, r.sigma) &&
            read_int_field(field_at(record, 29, 4), r.batch);
  for (int i = 0; ok && i < 6; ++i) {
    ok = read_real_field(field_at(record, 33 + 8 * i, 8), 5, r.cosines[static_cast<std::size_t>(i)]);
  }
  return ok;
}

}  // namespace vorlane::input
