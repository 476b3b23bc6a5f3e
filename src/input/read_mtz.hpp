#pragma once
// MTZ reflection files (DIALS, AIMLESS, CCP4): unmerged measurements with their original
// indices, or merged intensities.
#include <string>
#include <string_view>

#include "input/integration_data.hpp"

namespace vorlane::input {

// Reads the bytes of an MTZ file named `file` (for messages). Unmerged files (with batches)
// give one measurement per row: the original indices from H K L and M/ISYM, I and SIGI (or the
// first intensity and sigma columns), BATCH; partial reflections (the M flag) are left out with
// a count among the warnings. Merged files give IMEAN/SIGIMEAN (or I(+) and I(-) as two
// reflections) and are marked merged. The header's counts are checked against the file's size
// before anything is sized by them. Throws IntegrationReadError naming the file, the row or
// column, and what was found.
IntegrationData read_mtz(std::string_view bytes, const std::string& file);

// Whether the bytes start like an MTZ file ("MTZ ").
bool looks_like_mtz(std::string_view bytes);

}  // namespace vorlane::input
