#pragma once
#include <string_view>

#include "run/run_state.hpp"

namespace vorlane::output {

// Address given in the data-reduction text field of the CIF fragment.
inline constexpr std::string_view VORLANE_WEB_ADDRESS = "https://vorlane.org";

// Writes the CIF fragment describing the data reduction (index and theta ranges, completeness,
// R values, reflection counts) next to the output file, named after it with the suffix
// "_vorlane.cif". A fragment that cannot be written completely is reported as a warning; the
// run goes on and rs.res.cif_written stays false.
void CREATE_CIF_VORLANE(run::RunState& rs);
// The same with the figures of the data written already counted.
void CREATE_CIF_VORLANE(run::RunState& rs, averaging::DataFigures figures);

}  // namespace vorlane::output
