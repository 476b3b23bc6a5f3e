#include "input/fixed_fields.hpp"
#include "input/input_record.hpp"
#include "input/packed_fields.hpp"
#include "input/packed_record.hpp"

namespace vorlane::input {

bool parse_zezor_record(std::string_view record, InputRecord& r) {
  bool ok = read_int_field_at<3>(record, 1, r.h[0]) && read_int_field_at<3>(record, 4, r.h[1]) &&
            read_int_field_at<3>(record, 7, r.h[2]) &&
            read_real_field_at<10>(record, 10, 3, r.value) &&
            read_real_field_at<6>(record, 20, 3, r.sigma) &&
            read_real_field_at<10>(record, 26, 5, r.aux);
  for (int i = 0; ok && i < 4; ++i) {
    ok = read_real_field_at<7>(record, 46 + 7 * i, 2, r.angles[static_cast<std::size_t>(i)]);
  }
  return ok;
}

namespace {

// An F field that holds a digit but no point: read with the implied decimals.
bool without_point(std::string_view field) {
  return field.find('.') == std::string_view::npos &&
         field.find_first_of("0123456789") != std::string_view::npos;
}

}  // namespace

bool parse_shelx_record(std::string_view record, InputRecord& r) {
  // The usual record in one go, else field by field.
  r.without_point = 0;
  bool ok = record.size() >= 32 &&
            read_usual_shelx_record(record.data(), r.h, r.value, r.sigma, r.batch,
                                    SHELX_IMPLIED_DECIMALS, r.without_point);
  if (!ok) {
    ok = read_i4_at(record, 1, r.h[0]) && read_i4_at(record, 5, r.h[1]) &&
         read_i4_at(record, 9, r.h[2]) &&
         read_f8_at(record, 13, SHELX_IMPLIED_DECIMALS, r.value) &&
         read_f8_at(record, 21, SHELX_IMPLIED_DECIMALS, r.sigma) &&
         read_i4_at(record, 29, r.batch);
    if (ok) {
      r.without_point = static_cast<int>(without_point(field_at(record, 13, 8))) +
                        static_cast<int>(without_point(field_at(record, 21, 8)));
    }
  }
  // Records without direction cosines (most files) end before their fields: zeros.
  if (record.size() <= 32) {
    for (float& c : r.cosines) c = 0.0f;
    r.cosine_columns = false;
    return ok;
  }
  r.cosine_columns = true;
  for (int i = 0; ok && i < 6; ++i) {
    ok = read_f8_at(record, 33 + 8 * i, 5, r.cosines[static_cast<std::size_t>(i)]);
  }
  return ok;
}

}  // namespace vorlane::input
