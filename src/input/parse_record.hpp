#pragma once
// Steps 1 to 3 of one input record: read it in the run's format and turn it into F squared,
// its sigma and the angles.
#include <string_view>

#include "input/measurement.hpp"

namespace vorlane::input {

// `text` is one line without its line end; `m` receives the measurement (its line number is
// the caller's). A Zezor 2theta is taken as its absolute value; one above 180 degrees makes
// the record unreadable.
Parsed parse_record(const run::RunState& rs, std::string_view text, Measurement& m);

}  // namespace vorlane::input
