#pragma once
// NAME_report.html: a self-contained page (inline SVG, inline style, no script and nothing
// fetched from the network) with the run's summary, its warnings, the shell table and the
// plots, and the symmetry found from the data.
#include <string>

#include "report/report_inputs.hpp"

namespace vorlane::report {

std::string html_report(const statistics::Statistics& st, const RunFigures& run);

}  // namespace vorlane::report
