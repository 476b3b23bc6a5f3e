#pragma once
// Reading fixed-column fields: integers right-justified, an all-blank field reads as zero,
// embedded blanks are ignored, a real field without a decimal point gets the implied decimals
// of its descriptor, and a record shorter than its layout reads as if padded with blanks.
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "records/edit_list.hpp"

namespace vorlane::records {

enum class ReadStatus {
  ok,   // value(s) taken
  end,  // ran out of text (or a slash ended a free-format list) before all values were taken
  bad,  // a field is not a valid number of its type
};

struct FieldResult {
  ReadStatus status = ReadStatus::ok;
  int column = 0;         // 1-based first column of the offending field (0 when ok)
  std::string text;       // the offending field as it stands in the record
};

// Single fields. `field` is exactly the columns of the field.
FieldResult read_I(std::string_view field, int& value);
FieldResult read_F(std::string_view field, int decimals, float& value);
FieldResult read_F(std::string_view field, int decimals, double& value);

// Where a fixed-format read puts its values; one target per I, F or A descriptor in order.
using Target = std::variant<int*, float*, double*, std::string*>;

// Reads `record` through `layout` (I, F, E, A, X and literal-free layouts; one record).
// Stops at the first bad field; targets after it are left unchanged.
FieldResult read_fixed(const EditList& layout, std::string_view record,
                       std::span<const Target> targets);

}  // namespace vorlane::records
