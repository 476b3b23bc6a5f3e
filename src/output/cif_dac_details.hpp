#pragma once
// The CIF fragment's _reflns_special_details when an OPENING card gave the diamond-anvil
// cell's opening: the completeness against the volume the cell lets through.
#include <string>
#include <vector>

#include "expfile/run_controls.hpp"
#include "statistics/statistics.hpp"

namespace vorlane::output {

// No lines without an OPENING card or without shells.
std::vector<std::string> dac_special_details(const statistics::Statistics& st,
                                             const expfile::RunControls& ctl);

}  // namespace vorlane::output
