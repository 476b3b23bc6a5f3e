#pragma once
// NAME_stats.json: the shell and batch tables, the normal probability plot, the rejection
// counts and the run's summary figures, keys in snake_case, numbers as JSON numbers (null
// where a figure cannot be formed).
#include <string>

#include "report/report_inputs.hpp"

namespace vorlane::report {

std::string stats_json(const statistics::Statistics& st, const RunFigures& run);

}  // namespace vorlane::report
