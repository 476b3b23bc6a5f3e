#pragma once
// The averaged reflections as an MTZ file (through gemmi), for programs that read MTZ.
#include <filesystem>
#include <string>
#include <string_view>

#include "run/run_state.hpp"

namespace vorlane::output {

// The space group an MTZ file of this run carries: the SPACEGROUP card's group, else the group
// gemmi finds for the run's operators, else P 1. Its Hermann-Mauguin symbol.
std::string mtz_space_group(const run::RunState& rs);

// Writes the reflections of `shelx_records` (the run's SHELX output records: 3I4 and two reals,
// ended by 0 0 0 or the end of the text) to `path`: H K L IMEAN SIGIMEAN, or I(+) SIGI(+) I(-)
// SIGI(-) when Friedel mates were kept apart (or records of both mates of one reflection
// stand apart); indices in the CCP4 asymmetric unit of
// mtz_space_group; the run's cell and wavelength. Written to a temporary file beside `path` and
// renamed over it. Returns an empty string, or what went wrong.
std::string write_mtz(const run::RunState& rs, std::string_view shelx_records,
                      const std::filesystem::path& path);

}  // namespace vorlane::output
