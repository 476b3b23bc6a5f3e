#pragma once
// The CIF fragment's _reflns_special_details: which standard uncertainty the averaged
// intensities carry, the power of ten the output was scaled by when it was, and, when an
// OPENING card gave the diamond-anvil cell's opening, the completeness against the volume the
// cell lets through.
#include <string>
#include <vector>

#include "averaging/run_results.hpp"
#include "expfile/run_controls.hpp"
#include "statistics/statistics.hpp"

namespace vorlane::output {

std::vector<std::string> reflns_special_details(const statistics::Statistics& st,
                                                const expfile::RunControls& ctl,
                                                const averaging::RunResults& res);

// The text of _diffrn_reflns_reduction_process: the rejection actually applied, with its
// counts.
std::vector<std::string> reduction_process_lines(const expfile::RunControls& ctl,
                                                 const statistics::RejectionCounts& counts);

}  // namespace vorlane::output
